#include "cli.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/stat.h>

#include "code_generator.h"
#include "effect_edit.h"
#include "options_file.h"
#include "ordinary_file.h"
#include "settings_file.h"
#include "text.h"
#include "text_effects.h"

namespace zk {
namespace {

constexpr const char* kProgram = "zelkohtml-gen";
constexpr const char* kFontFace = "FontFace"; // a state variable the file does not keep

// A name as it may stand in a one-line message, cut after `limit` bytes (never inside a
// UTF-8 character) so that a huge argument is not repeated whole.
std::string shown(std::string_view text, std::size_t limit = 4096) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (i >= limit && (c & 0xC0) != 0x80) {
            out += "...";
            break;
        }
        out += c < 32 ? '?' : text[i];
    }
    return out;
}

// A value typed on the command line, in a message: numbers and names are short.
std::string shownValue(std::string_view text) {
    return shown(text, 64);
}

struct Failure {
    int status;
    std::string message;
};

Failure usage(const std::string& message) {
    return {kExitUsage, message + " (see --help)"};
}

// One thing the command line asks for, done in the order given.
struct Action {
    enum Kind {
        LoadFile,
        SetString,
        SetNumber,
        SetFontFace,
        LoadOptions,
        SetOption
    } kind = LoadFile;
    std::string text;      // the settings or options file, or the string value
    std::size_t field = 0; // of the settings, or of the options for SetOption
    std::int64_t number = 0;
};

struct Request {
    std::vector<Action> actions;
    std::vector<int> effects;    // --effect, in the order given
    std::size_t selectStart = 0; // --select, in caret positions
    std::size_t selectLength = 0;
    bool textOnly = false;
    bool codeView = false;
    std::optional<std::string> input; // none: standard input
    bool help = false;
    bool version = false;
};

// "NAME=VALUE" of --set, checked against the table of settings.
std::optional<Failure> parseAssignment(const std::string& arg, Action& action) {
    const std::string where = std::string(kProgram) + ": --set " + shownValue(arg) + ": ";
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos)
        return usage(where + "missing '=' (expected NAME=VALUE)");
    const std::string name = arg.substr(0, eq);
    // Values come from the terminal; bytes that are not UTF-8 are read as Windows-1252,
    // as the program reads its files.
    const std::string value = decodeTextFile(std::string_view(arg).substr(eq + 1));
    if (name == kFontFace) {
        action.kind = Action::SetFontFace;
        action.text = value;
        return std::nullopt;
    }
    const int field = findSettingsField(name);
    if (field < 0)
        return usage(where + "unknown setting '" + shownValue(name) + "'");
    action.field = static_cast<std::size_t>(field);
    if (settingsFields()[action.field].kind == FieldKind::String) {
        action.kind = Action::SetString;
        action.text = value;
        return std::nullopt;
    }
    if (value.empty())
        return usage(where + "missing value");
    if (!parseSettingsInteger(value, action.number))
        return usage(where + "'" + shownValue(value) + "' is not a valid integer value");
    action.kind = Action::SetNumber;
    return std::nullopt;
}

// A decimal number without sign, at most `max`.
bool parseCount(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    if (text.empty())
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (max - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

std::optional<Failure> parseEffect(const std::string& value, Request& request) {
    std::uint64_t number = 0;
    if (!parseCount(value, kLastTextEffectNumber, number) || number < kFirstTextEffect)
        return usage(std::string(kProgram) + ": --effect " + shownValue(value) +
                     ": not an effect number (1 to 12)");
    request.effects.push_back(static_cast<int>(number));
    return std::nullopt;
}

std::optional<Failure> parseSelection(const std::string& value, Request& request) {
    constexpr std::uint64_t kMax = 0xFFFFFFFFu; // far beyond any text the tool reads
    const std::size_t comma = value.find(',');
    std::uint64_t start = 0, length = 0;
    if (comma == std::string::npos || !parseCount(value.substr(0, comma), kMax, start) ||
        !parseCount(value.substr(comma + 1), kMax, length))
        return usage(std::string(kProgram) + ": --select " + shownValue(value) +
                     ": expected START,LENGTH (two numbers from 0)");
    request.selectStart = static_cast<std::size_t>(start);
    request.selectLength = static_cast<std::size_t>(length);
    return std::nullopt;
}

// An option of the options file set from the command line, as the file would write it.
Action optionAction(const char* name, std::string value) {
    Action action;
    action.kind = Action::SetOption;
    action.field = static_cast<std::size_t>(findOption(name));
    action.text = std::move(value);
    return action;
}

// The formats of --format, in the order of the options file's values.
constexpr const char* kFormatNames[] = {"html", "css", "bbcode"};

std::optional<Failure> parseFormat(const std::string& value, Request& request) {
    for (std::size_t k = 0; k < std::size(kFormatNames); ++k) {
        if (value == kFormatNames[k]) {
            request.actions.push_back(optionAction("OutputFormat", std::to_string(k)));
            return std::nullopt;
        }
    }
    return usage(std::string(kProgram) + ": --format " + shownValue(value) +
                 ": expected html, css or bbcode");
}

// The gradient on, as naming a gradient's colours asks for it.
Action gradientOnAction() {
    Action action;
    action.kind = Action::SetNumber;
    action.field = static_cast<std::size_t>(findSettingsField("GradientOn"));
    action.number = 1;
    return action;
}

// "#RRGGBB,#RRGGBB,...": the colours of "Multicolore", checked as the options file checks
// them.
std::optional<Failure> parseGradientStops(const std::string& value, Request& request) {
    const auto field = static_cast<std::size_t>(findOption("GradientStops"));
    NewOptions probe;
    if (!setOptionText(probe, field, value))
        return usage(std::string(kProgram) + ": --gradient-stops " + shownValue(value) +
                     ": expected " + optionRange(field));
    request.actions.push_back(optionAction("GradientStops", value));
    request.actions.push_back(optionAction("GradientType", "1"));
    request.actions.push_back(gradientOnAction());
    return std::nullopt;
}

// "START,SPAN" in degrees: the rainbow's first hue and how far round it goes.
std::optional<Failure> parseRainbow(const std::string& value, Request& request) {
    const std::size_t comma = value.find(',');
    std::uint64_t start = 0, span = 0;
    if (comma == std::string::npos ||
        !parseCount(value.substr(0, comma), kMaxRainbowDegrees, start) ||
        !parseCount(value.substr(comma + 1), kMaxRainbowDegrees, span))
        return usage(std::string(kProgram) + ": --rainbow " + shownValue(value) +
                     ": expected START,SPAN (two numbers of degrees, 0 to 360)");
    request.actions.push_back(optionAction("RainbowStart", std::to_string(start)));
    request.actions.push_back(optionAction("RainbowSpan", std::to_string(span)));
    request.actions.push_back(optionAction("GradientType", "2"));
    request.actions.push_back(gradientOnAction());
    return std::nullopt;
}

// The blends of --blend, in the order of the options file's values.
constexpr const char* kBlendNames[] = {"rgb", "oklab"};

std::optional<Failure> parseBlend(const std::string& value, Request& request) {
    for (std::size_t k = 0; k < std::size(kBlendNames); ++k) {
        if (value == kBlendNames[k]) {
            request.actions.push_back(optionAction("GradientBlend", std::to_string(k)));
            return std::nullopt;
        }
    }
    return usage(std::string(kProgram) + ": --blend " + shownValue(value) +
                 ": expected rgb or oklab");
}

// The options whose value a parser of its own reads into the request.
struct ValueOption {
    const char* name;
    const char* needs; // what the value is, for the message when it is missing
    std::optional<Failure> (*parse)(const std::string& value, Request& request);
};

const ValueOption kValueOptions[] = {
    {"--effect", "a number", parseEffect},
    {"--select", "START,LENGTH", parseSelection},
    {"--format", "html, css or bbcode", parseFormat},
    {"--gradient-stops", "#RRGGBB,#RRGGBB,...", parseGradientStops},
    {"--rainbow", "START,SPAN", parseRainbow},
    {"--blend", "rgb or oklab", parseBlend},
};

const ValueOption* findValueOption(const std::string& option) {
    for (const ValueOption& o : kValueOptions)
        if (option == o.name)
            return &o;
    return nullptr;
}

std::optional<Failure> parseArguments(const std::vector<std::string>& args, Request& request) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (request.input)
                return usage(std::string(kProgram) + ": more than one input file ('" +
                             shown(*request.input) + "' and '" + shown(arg) + "')");
            request.input = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            request.help = true;
            return std::nullopt;
        }
        if (arg == "--version") {
            request.version = true;
            return std::nullopt;
        }
        if (arg == "--code-view") {
            request.codeView = true;
            continue;
        }
        if (arg == "--text-only") {
            request.textOnly = true;
            continue;
        }
        if (arg == "--compact") {
            request.actions.push_back(optionAction("CompactCode", "1"));
            continue;
        }
        if (arg == "--percent-sizes") {
            request.actions.push_back(optionAction("BbcodePercentSizes", "1"));
            continue;
        }
        // An option with a value takes it as the next argument or after "=".
        std::string option = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            option = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (option == "--code-view" || option == "--help" || option == "--text-only" ||
            option == "--version" || option == "--compact" || option == "--percent-sizes")
            return usage(std::string(kProgram) + ": option '" + option + "' takes no value");
        const ValueOption* parsed = findValueOption(option);
        if (!parsed && option != "--settings" && option != "--set" && option != "--options")
            return usage(std::string(kProgram) + ": unknown option '" + shownValue(option) + "'");
        if (!value) {
            if (i + 1 >= args.size())
                return usage(std::string(kProgram) + ": option '" + option + "' needs " +
                             (parsed              ? parsed->needs
                              : option == "--set" ? "NAME=VALUE"
                                                  : "a file"));
            value = args[++i];
        }
        if (parsed) {
            if (auto failure = parsed->parse(*value, request))
                return failure;
            continue;
        }
        Action action;
        if (option == "--settings" || option == "--options") {
            if (value->empty())
                return usage(std::string(kProgram) + ": option '" + option + "' needs a file");
            action.kind = option == "--settings" ? Action::LoadFile : Action::LoadOptions;
            action.text = *value;
        } else if (auto failure = parseAssignment(*value, action)) {
            return failure;
        }
        request.actions.push_back(std::move(action));
    }
    return std::nullopt;
}

// Why a file could not be read, in the system's words where it has them.
std::string readFailureReason(const std::string& path, const ReadResult& read) {
    switch (read.status) {
    case ReadStatus::TooBig:
        return std::strerror(EFBIG);
    case ReadStatus::NotAFile: {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return std::strerror(EISDIR);
        return "not an ordinary file";
    }
    case ReadStatus::Ok:
    case ReadStatus::Missing:
    case ReadStatus::Failed:
        break;
    }
    return std::strerror(read.error ? read.error : EIO);
}

// Only an ordinary file is read (a named pipe could make the tool wait for ever; standard
// input is the way to pipe a text in), and no more than maxBytes of it.
std::optional<Failure> readFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    ReadResult read = readOrdinaryFile(path, maxBytes);
    if (read.ok()) {
        bytes = std::move(read.bytes);
        return std::nullopt;
    }
    return Failure{kExitFailure, std::string(kProgram) + ": " + shown(path) + ": " +
                                     readFailureReason(path, read)};
}

// What the options did to the face: it was given by name, or its index was read or set.
struct FaceChanges {
    bool faceGiven = false;
    bool indexChanged = false;
};

std::optional<Failure> applyActions(const std::vector<Action>& actions, AppSettings& settings,
                                    NewOptions& options, FaceChanges& face) {
    const auto faceIndexField = static_cast<std::size_t>(findSettingsField("FontFaceIndex"));
    for (const Action& a : actions) {
        switch (a.kind) {
        case Action::LoadFile: {
            std::string bytes;
            if (auto failure = readFile(a.text, kSettingsSizeLimit, bytes))
                return failure;
            const LoadResult r = ParseSettings(bytes, settings);
            if (r.status == LoadResult::InvalidNumber)
                return Failure{kExitFailure, std::string(kProgram) + ": " + shown(a.text) + ":" +
                                                 std::to_string(r.line) + ": " +
                                                 kInvalidNumericInput};
            face.indexChanged = true;
            break;
        }
        case Action::SetString:
            setFieldString(settings, a.field, a.text);
            break;
        case Action::SetNumber:
            setFieldNumber(settings, a.field, a.number);
            face.indexChanged = face.indexChanged || a.field == faceIndexField;
            break;
        case Action::SetFontFace:
            settings.fmt.FontFace = a.text;
            face.faceGiven = true;
            break;
        case Action::LoadOptions: {
            std::string bytes;
            if (auto failure = readFile(a.text, kOptionsSizeLimit, bytes))
                return failure;
            // As when the window starts: a value the program cannot take gives its default.
            ParseOptions(bytes, options);
            break;
        }
        case Action::SetOption:
            setOptionText(options, a.field, a.text);
            break;
        }
    }
    return std::nullopt;
}

// The effects in the order given, each on the selection as the previous one left it, with
// one generator for the whole run, as in the window.
void applyEffects(const Request& request, std::string& text) {
    if (request.effects.empty())
        return;
    EffectRandom random;
    std::size_t start = byteOffsetOfCaret(text, request.selectStart);
    const std::size_t end = byteOffsetOfCaret(
        text, request.selectStart + std::min(request.selectLength, SIZE_MAX - request.selectStart));
    std::size_t length = end - start;
    for (int number : request.effects) {
        std::optional<EffectEdit> edit =
            applyTextEffectInPlace(number, text, start, length, random);
        if (!edit)
            continue;
        text = std::move(edit->text);
        if (edit->target == EffectTarget::Selection) {
            start = edit->start;
            length = edit->length;
        }
    }
}

std::optional<Failure> run(const std::vector<std::string>& args, const ReadStandardInput& readStdin,
                           std::string& out) {
    Request request;
    if (auto failure = parseArguments(args, request))
        return failure;
    if (request.help) {
        out = cliUsage();
        return std::nullopt;
    }
    if (request.version) {
        out = cliVersion();
        return std::nullopt;
    }

    AppSettings settings;
    NewOptions options;
    FaceChanges face;
    if (auto failure = applyActions(request.actions, settings, options, face))
        return failure;
    // As at start-up, the face follows an index read from a file or set, unless the face
    // itself was given. Without either the state's own default face stays.
    if (face.indexChanged && !face.faceGiven)
        ApplyFontFaceIndex(settings.fmt);

    std::string bytes;
    if (request.input && *request.input != "-") {
        if (auto failure = readFile(*request.input, kInputSizeLimit, bytes))
            return failure;
    } else {
        errno = 0;
        if (!readStdin || !readStdin(bytes))
            return Failure{kExitFailure, std::string(kProgram) + ": standard input: " +
                                             (errno ? std::strerror(errno) : "read error")};
        if (bytes.size() > kInputSizeLimit)
            return Failure{kExitFailure,
                           std::string(kProgram) + ": standard input: " + std::strerror(EFBIG)};
    }
    // Each form of the text is let go as soon as the next is made.
    std::string text = decodeTextFile(bytes);
    std::string().swap(bytes);
    text = normalizeLineEnds(text);
    applyEffects(request, text);
    if (request.textOnly) {
        out = std::move(text);
        return std::nullopt;
    }

    GeneratorOptions generator = generatorOptions(options);
    generator.keepLineBreaks = request.codeView;
    out = GenerateCode(text, settings.fmt, generator);
    return std::nullopt;
}

void appendWrapped(std::string& out, const std::string& title,
                   const std::vector<std::string>& names) {
    out += "  " + title + ":\n";
    std::string line = "     ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string item = " " + names[i] + (i + 1 < names.size() ? "," : "");
        if (line.size() + item.size() > 88) {
            out += line + "\n";
            line = "     ";
        }
        line += item;
    }
    out += line + "\n";
}

} // namespace

int runCli(const std::vector<std::string>& args, const ReadStandardInput& readStdin,
           std::string& out, std::string& err) {
    out.clear();
    err.clear();
    std::string result;
    if (auto failure = run(args, readStdin, result)) {
        err = failure->message + "\n";
        return failure->status;
    }
    out = std::move(result);
    return kExitOk;
}

int runCli(const std::vector<std::string>& args, std::string_view stdinBytes, std::string& out,
           std::string& err) {
    return runCli(
        args,
        [stdinBytes](std::string& bytes) {
            bytes.assign(stdinBytes);
            return true;
        },
        out, err);
}

std::string cliVersion() {
    return std::string(kProgram) +
           " (ZelkoHTML) " ZK_VERSION "\n"
           "Copyright (C) 2001-2026 Quorvane and the ZelkoHTML contributors.\n"
           "Free software under the MIT licence: use, copy, change and share it freely.\n"
           "There is NO WARRANTY.\n";
}

std::string cliUsage() {
    std::string u =
        "Usage: zelkohtml-gen [--settings FILE] [--set NAME=VALUE]... [--effect N]...\n"
        "                     [--select START,LENGTH] [--code-view] [--text-only]\n"
        "                     [--options FILE] [--format html|css|bbcode] [--compact]\n"
        "                     [--percent-sizes] [--gradient-stops LIST]\n"
        "                     [--rainbow START,SPAN] [--blend rgb|oklab] [FILE]\n"
        "       zelkohtml-gen --help | --version\n"
        "\n"
        "Prints the HTML code ZelkoHTML generates for the text in FILE (standard input when\n"
        "FILE is absent or \"-\"), and nothing else. The text is read as UTF-8 when it is\n"
        "valid UTF-8, else as Windows-1252; the code is written in UTF-8. FILE must be an\n"
        "ordinary file (pipe a text in through standard input); a text or a settings file\n"
        "larger than the tool reads (64 MiB, 1 MiB) is refused.\n"
        "\n"
        "Options, applied in the order given:\n"
        "  --settings FILE    read a settings file (ZelkoHTML.ini) over the current values\n"
        "  --set NAME=VALUE   set one variable; a number is a decimal integer of 32 bits at\n"
        "                     most, stored with the variable's width (300 in a byte gives 44)\n"
        "  --code-view        generate as the code view does: line breaks stay as they are\n"
        "  --effect N         apply text effect N to the text first (repeatable, in order):\n"
        "                     1 mirror, 2 lower case, 3 upper case, 4 alternation from lower\n"
        "                     case, 5 alternation from upper case, 6 spacing out, 7 removing\n"
        "                     spaces, 8 Hacker, 9 Choucroute, 10 Dom-Tom, 11 Atchoum, 12 Viking;\n"
        "                     the Hacker generator starts at 0 once per run\n"
        "  --select START,LENGTH\n"
        "                     the effects act on this selection instead of the whole text;\n"
        "                     START and LENGTH count characters from 0 as the caret moves (a\n"
        "                     line break is one), a selection past the end is cut at the end;\n"
        "                     after each effect the selection covers its result\n"
        "  --text-only        print the text after the effects (UTF-8, CR LF line breaks)\n"
        "                     instead of the code\n"
        "  --options FILE     read an options file (Options.ini) over the current values: the\n"
        "                     format, compact code, per cent sizes and the gradient's type,\n"
        "                     colours, rainbow and blend; a value it holds that the program\n"
        "                     cannot take gives that option's default\n"
        "  --format FORMAT    write the code as html (classic HTML, the default), css (HTML5\n"
        "                     with styles) or bbcode (the tags of forums; no marquee)\n"
        "  --compact          neighbouring letters of one colour (and one wave) share one tag,\n"
        "                     the spaces between them included\n"
        "  --percent-sizes    BBCode sizes in per cent (50 to 200, as phpBB takes them)\n"
        "                     instead of 1 to 7\n"
        "  --gradient-stops LIST\n"
        "                     gradient of 2 to 8 colours #RRGGBB separated by commas, evenly\n"
        "                     spread over the letters (\"Multicolore\"); turns the gradient on\n"
        "  --rainbow START,SPAN\n"
        "                     rainbow gradient from hue START over SPAN degrees (0 to 360\n"
        "                     each), spread over the letters (\"Arc-en-ciel\"); turns the\n"
        "                     gradient on\n"
        "  --blend BLEND      mix the gradient's colours channel by channel (rgb, the default)\n"
        "                     or in the perceptual OKLab space (oklab)\n"
        "  -h, --help         show this help and exit\n"
        "  --version          show the version and licence and exit\n"
        "\n"
        "Without options the code is that of the default state (face \"Verdana\"). Once a\n"
        "settings file is read or FontFaceIndex is set, FontFace follows FontFaceIndex (0 to\n"
        "23) as at start-up, and stays \"Verdana\" when the index names no face, unless\n"
        "--set FontFace=NAME is given.\n"
        "\n"
        "Exit status: 0 done, 1 a file cannot be read or the settings file holds a bad number,\n"
        "2 a wrong command line. On failure nothing is written to standard output.\n"
        "\n"
        "Names for --set:\n";
    std::vector<std::string> texts = {kFontFace}, bytes, words, longs;
    for (const SettingsField& f : settingsFields()) {
        switch (f.kind) {
        case FieldKind::String:
            texts.push_back(f.name);
            break;
        case FieldKind::Byte:
            bytes.push_back(f.name);
            break;
        case FieldKind::UInt16:
            words.push_back(f.name);
            break;
        case FieldKind::Int32:
            longs.push_back(f.name);
            break;
        }
    }
    appendWrapped(u, "text", texts);
    appendWrapped(u, "0 to 255", bytes);
    appendWrapped(u, "0 to 65535", words);
    appendWrapped(u, "signed 32-bit (colours are 0x00BBGGRR written in decimal)", longs);
    return u;
}

} // namespace zk

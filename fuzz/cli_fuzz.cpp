// The command line's arguments and standard input, any bytes. The tool never writes a file,
// so any arguments may be tried; it answers with code or with one line of error, never both,
// and with one of its three exit statuses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli.h"
#include "fuzz_input.h"

using zkfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zkfuzz::Input in(data, size);
    const unsigned count = in.byte() % 8;
    std::vector<std::string> args;
    for (unsigned i = 0; i < count; ++i) {
        std::string arg(in.piece());
        // Files are read only when ordinary and bounded, but a fuzzer has no business
        // reading the machine's files: a name that is not an option stays a missing file.
        if (!arg.empty() && arg[0] != '-')
            arg.insert(0, "/nonexistent/");
        args.push_back(std::move(arg));
    }
    const std::string_view stdinBytes = in.rest();

    std::string out;
    std::string err;
    const int status = zk::runCli(args, stdinBytes, out, err);
    check(status == zk::kExitOk || status == zk::kExitFailure || status == zk::kExitUsage,
          "unknown exit status");
    if (status == zk::kExitOk) {
        check(err.empty(), "an error line on success");
    } else {
        check(out.empty(), "code on failure");
        check(!err.empty() && err.back() == '\n' && err.find('\n') == err.size() - 1,
              "the error is not one line");
    }
    return 0;
}

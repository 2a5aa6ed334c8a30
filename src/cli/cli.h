// zelkohtml-gen: the generator on the command line, as a function the tests can call.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zk {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // a file that cannot be read, a bad settings file
inline constexpr int kExitUsage = 2;   // a wrong command line

// The largest text read, from a file or from standard input.
inline constexpr std::size_t kInputSizeLimit = std::size_t{64} << 20;

// Reads standard input into bytes, the whole of it or at least kInputSizeLimit + 1 bytes;
// false when it cannot be read.
using ReadStandardInput = std::function<bool(std::string& bytes)>;

// Runs the tool on args (without the program name). On success out holds the generated code
// and nothing else; on failure out stays empty and err holds one line ended by "\n".
// Standard input is read only when the text comes from it.
int runCli(const std::vector<std::string>& args, const ReadStandardInput& readStdin,
           std::string& out, std::string& err);
int runCli(const std::vector<std::string>& args, std::string_view stdinBytes, std::string& out,
           std::string& err);

std::string cliUsage();
// The first line is "zelkohtml-gen (ZelkoHTML) VERSION", the version of the build.
std::string cliVersion();

} // namespace zk

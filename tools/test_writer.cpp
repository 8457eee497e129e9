// telvo-test-writer: a child process for the runner's tests and benchmark. Its arguments are a
// small script, run left to right:
//   bytes N        write N bytes of numbered text lines to standard output, in one write when
//                  N is at most 1 MiB (larger amounts in 1 MiB writes)
//   flood MS       write numbered text lines as fast as the reader takes them for MS
//                  milliseconds, then "flood: N bytes\n"
//   interleave N   write "out i" to standard output and "err i" to standard error, N times
//   file PATH N    write N bytes of numbered text lines into the file PATH (a partial image)
//   text T         write T to standard output
//   err T          write T to standard error
//   sleep MS       stay silent for MS milliseconds
//   grandchild MS  start a process that inherits the output, waits MS ms, writes
//                  "grandchild done\n" and ends; this process goes on at once
//   helper MS      as grandchild, and write "helper PID\n" with the started process's id
//   close          close standard output and standard error (and go on running)
//   exit N         end here with exit code N (read as unsigned: on Windows a crash status such
//                  as 3221225622, 0xC0000096, ends the process as a crash would)
//   signal N       end here by signal N (POSIX)
//   stdin          write "stdin: eof", "stdin: data" or "stdin: closed"
//   cwd            write the current directory and "\n"
//   fds            write "fds:" and the open descriptors (Linux, from /proc/self/fd)
//   args ...       write each remaining argument as "[arg]\n" and stop
// As a stand-in for the tool, started under the tool's name with the tool's arguments, it runs
// the script in TELVO_WRITER_SCRIPT instead: the steps separated by "|", with "\n" and "\r"
// in them read as LF and CR.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "test_writer_platform.h"

namespace {

void Write(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// Line i is "line NNNNNNN\n"; the last line is cut to reach exactly n bytes.
std::string NumberedText(std::size_t n) {
  std::string text;
  text.reserve(n + 16);
  for (std::size_t line = 0; text.size() < n; ++line) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "line %07zu\n", line);
    text += buffer;
  }
  text.resize(n);
  return text;
}

void WriteBytes(std::size_t n) {
  constexpr std::size_t kBlock = 1u << 20;
  if (n <= kBlock) {
    Write(stdout, NumberedText(n));
    return;
  }
  const std::string block = NumberedText(kBlock);
  for (std::size_t left = n; left > 0;) {
    const std::size_t now = left < kBlock ? left : kBlock;
    Write(stdout, std::string_view(block).substr(0, now));
    left -= now;
  }
}

void Flood(long ms) {
  const std::string block = NumberedText(64 * 1024);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  unsigned long long written = 0;
  while (std::chrono::steady_clock::now() < end) {
    std::fwrite(block.data(), 1, block.size(), stdout);
    written += block.size();
  }
  Write(stdout, "flood: " + std::to_string(written) + " bytes\n");
}

void Sleep(long ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void ReportStdin() {
  char c;
  const std::size_t got = std::fread(&c, 1, 1, stdin);
  if (got == 1) return Write(stdout, "stdin: data\n");
  Write(stdout, std::feof(stdin) ? "stdin: eof\n" : "stdin: closed\n");
}

// The script of TELVO_WRITER_SCRIPT as arguments, argv[0] first.
std::vector<std::string> ScriptFromEnvironment(const char* program, const char* script) {
  std::vector<std::string> args{program};
  std::string piece;
  for (const char* c = script;; ++c) {
    if (*c == '\0' || *c == '|') {
      args.push_back(piece);
      piece.clear();
      if (*c == '\0') return args;
    } else if (*c == '\\' && (c[1] == 'n' || c[1] == 'r')) {
      piece += *++c == 'n' ? '\n' : '\r';
    } else {
      piece += *c;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> standIn;
  std::vector<char*> standInArgv;
  if (const char* script = std::getenv("TELVO_WRITER_SCRIPT"); script != nullptr && *script) {
    standIn = ScriptFromEnvironment(argv[0], script);
    // A process the script starts reads its own arguments.
#ifdef _WIN32
    _putenv_s("TELVO_WRITER_SCRIPT", "");
#else
    unsetenv("TELVO_WRITER_SCRIPT");
#endif
    for (std::string& arg : standIn) standInArgv.push_back(arg.data());
    argc = static_cast<int>(standInArgv.size());
    argv = standInArgv.data();
  }
#ifdef _WIN32
  // The bytes as given: no "\r" put before each "\n".
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string_view op = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "";
    if (op == "args") {
      for (int j = i + 1; j < argc; ++j) Write(stdout, "[" + std::string(argv[j]) + "]\n");
      return 0;
    }
    if (op == "close") {
      std::fclose(stdout);
      std::fclose(stderr);
    } else if (op == "exit") {
      std::fflush(nullptr);
      return static_cast<int>(std::strtoul(value, nullptr, 10));
    } else if (op == "signal") {
      std::fflush(nullptr);
      std::raise(std::atoi(value));
      return 1;
    } else if (op == "stdin") {
      ReportStdin();
    } else if (op == "cwd") {
      Write(stdout, std::filesystem::current_path().string() + "\n");
    } else if (op == "fds") {
      Write(stdout, test_writer::DescribeDescriptors() + "\n");
    } else if (op == "bytes") {
      WriteBytes(std::strtoull(value, nullptr, 10));
      ++i;
    } else if (op == "flood") {
      Flood(std::atol(value));
      ++i;
    } else if (op == "interleave") {
      for (long k = 0, n = std::atol(value); k < n; ++k) {
        Write(stdout, "out " + std::to_string(k) + "\n");
        Write(stderr, "err " + std::to_string(k) + "\n");
      }
      ++i;
    } else if (op == "file") {
      const char* size = i + 2 < argc ? argv[i + 2] : "0";
      if (std::FILE* file = std::fopen(value, "wb")) {
        const std::string bytes = NumberedText(std::strtoull(size, nullptr, 10));
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
      }
      i += 2;
    } else if (op == "text") {
      Write(stdout, value);
      ++i;
    } else if (op == "err") {
      Write(stderr, value);
      ++i;
    } else if (op == "sleep") {
      Sleep(std::atol(value));
      ++i;
    } else if (op == "grandchild" || op == "helper") {
      const long pid = test_writer::StartGrandchild(std::atol(value));
      if (pid == 0) {
        Write(stderr, "telvo-test-writer: cannot start the grandchild\n");
        return 1;
      }
      if (op == "helper") Write(stdout, "helper " + std::to_string(pid) + "\n");
      ++i;
    } else {
      Write(stderr, "telvo-test-writer: unknown step " + std::string(op) + "\n");
      return 2;
    }
  }
  return 0;
}

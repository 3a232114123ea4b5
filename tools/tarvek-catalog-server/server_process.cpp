#include "server_process.h"

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarvek::server {
namespace {

constexpr int kStartTimeoutMs = 10000;

// The first line the server prints: "tarvek-catalog-server listening on ORIGIN".
std::string readFirstLine(int fd) {
    std::string line;
    char c = 0;
    while (line.size() < 512) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, kStartTimeoutMs) <= 0 || ::read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line.push_back(c);
    }
    throw std::runtime_error("the catalog server did not start: " + line);
}

}  // namespace

ServerProcess::ServerProcess(const std::string& binary, const std::string& dataDirectory,
                             const std::vector<std::string>& arguments) {
    std::vector<std::string> words{binary, "--data", dataDirectory, "--port", "0"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const int status = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (status != 0) {
        ::close(pipeFds[0]);
        throw std::runtime_error("cannot start " + words[0]);
    }
    try {
        const std::string line = readFirstLine(pipeFds[0]);
        origin_ = line.substr(line.rfind(' ') + 1);
    } catch (...) {
        ::close(pipeFds[0]);
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        throw;
    }
    ::close(pipeFds[0]);
}

ServerProcess::~ServerProcess() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int waited = 0; waited < 200; ++waited) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) return;
        ::usleep(10000);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
}

int ServerProcess::port() const { return std::stoi(origin_.substr(origin_.rfind(':') + 1)); }

}  // namespace tarvek::server

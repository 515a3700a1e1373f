#include "tests/support/SlowClient.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <future>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// The executable: its first line names the address, and a termination signal ends it cleanly
// and at once, even with a client still sending its headers.
TEST(AdServerMain, AnnouncesItsPortAndExitsCleanlyOnSigterm) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::execl(PENNANT_ADSERVER_PATH, "pennant-adserver", "--port", "0", nullptr);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string line;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(pipeFds[0]);
    EXPECT_TRUE(line.starts_with("listening on http://127.0.0.1:")) << line;
    const int port = std::stoi(line.substr(line.rfind(':') + 1));
    ASSERT_GT(port, 0);
    // Thirty seconds of header lines, well past the server's own deadline for them.
    auto slow = std::async(std::launch::async,
                           [client = std::make_shared<testing_support::SlowClient>(port)] {
                               return client->droppedWithin(1200);
                           });
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(slow.get());
}

TEST(AdServerMain, RefusesUnknownOptions) {
    const std::string command = std::string(PENNANT_ADSERVER_PATH) + " --port nope 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 2);
}

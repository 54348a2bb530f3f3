// The test programs' main. Many tests need a process of their own: the
// plug-in's state is process-wide, the listener's thread and port stay for
// the process's life, and every process gets a network of its own. ctest
// runs each test in a fresh process; a program started by hand with more
// than one test selected runs each of them in a child of its own, one after
// the other, and sums up.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Set for the children, and by ctest for every test it runs.
constexpr char kOneTestPerProcess[] = "CALLERID_TEST_UNDER_CTEST";

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The tests the filter of the command line selects, as "Suite.Name".
std::vector<std::string> SelectedTests(const std::vector<std::string>& arguments) {
    std::string command = ShellQuoted(arguments[0]);
    for (std::size_t i = 1; i < arguments.size(); ++i) command += " " + ShellQuoted(arguments[i]);
    command += " --gtest_list_tests";
    std::vector<std::string> tests;
    FILE* list = popen(command.c_str(), "r");
    if (!list) return tests;
    std::string suite;
    char line[1024];
    while (std::fgets(line, sizeof line, list)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        std::size_t comment = text.find("  #");
        if (comment != std::string::npos) text.resize(comment);
        if (text.empty()) continue;
        if (text[0] != ' ') {
            suite = text;
        } else if (text.compare(2, 9, "DISABLED_") != 0 && suite.compare(0, 9, "DISABLED_") != 0) {
            tests.push_back(suite + text.substr(2));
        }
    }
    pclose(list);
    return tests;
}

int RunInChild(const std::vector<std::string>& arguments, const std::string& test) {
    std::string command = ShellQuoted(arguments[0]);
    for (std::size_t i = 1; i < arguments.size(); ++i)
        if (arguments[i].rfind("--gtest_filter", 0) != 0) command += " " + ShellQuoted(arguments[i]);
    command += " --gtest_filter=" + ShellQuoted(test);
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    // The program itself, wherever it was started from.
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) arguments[0].assign(self, static_cast<std::size_t>(length));
    bool listing = false;
    for (const std::string& argument : arguments) listing |= argument.rfind("--gtest_list_tests", 0) == 0;
    if (listing || std::getenv(kOneTestPerProcess)) {
        testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }
    std::vector<std::string> tests = SelectedTests(arguments);
    setenv(kOneTestPerProcess, "1", 1);
    if (tests.size() <= 1) {
        testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }
    std::printf("%zu tests selected: each runs in a process of its own\n", tests.size());
    std::fflush(stdout);
    std::vector<std::string> failed;
    for (const std::string& test : tests)
        if (RunInChild(arguments, test) != 0) failed.push_back(test);
    std::printf("\n%zu of %zu tests passed, each in a process of its own\n", tests.size() - failed.size(),
                tests.size());
    for (const std::string& test : failed) std::printf("FAILED %s\n", test.c_str());
    return failed.empty() ? 0 : 1;
}

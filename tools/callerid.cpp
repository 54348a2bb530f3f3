// callerid: the command-line companion of the caller-ID plug-in.
#include <cstdio>
#include <cstring>

static const char kUsage[] =
    "usage: callerid COMMAND [ARGS]\n"
    "commands:\n"
    "  help                   this text\n";

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::fprintf(stderr, "callerid: unknown command %s\n", argv[1]);
    std::fputs(kUsage, stderr);
    return 2;
}

// callerid: the command-line companion of the caller-ID plug-in.
#include <cstdio>
#include <cstring>

#include "commands/control_command.h"
#include "commands/doctor_command.h"
#include "commands/listen_command.h"
#include "commands/log_command.h"
#include "commands/send_command.h"
#include "system/station.h"
#include "commands/slots_command.h"
#include "commands/window_description_command.h"

static const char kUsage[] =
    "usage: callerid COMMAND [ARGS]\n"
    "commands:\n"
    "  help                   this text\n"
    "  send [--to ADDRESS] [--port PORT] PHONE TARGET [TEXT]\n"
    "                         one call as the caller-ID box sends it: fields 0, 1\n"
    "                         and 4 (UTF-8 typed, sent in Mazovia), to 127.0.0.1:1338\n"
    "  send [--to ADDRESS] [--port PORT] --raw TEXT\n"
    "                         exactly these bytes; \\t \\r \\n \\0 \\\\ \\xHH escapes\n"
    "  ping [ADDRESS] [--port PORT]\n"
    "                         \"ping\\tping\\tping\\r\": the listener pauses 25 s and\n"
    "                         listens again with re-read settings (default 127.0.0.1)\n"
    "  restart [ADDRESS] [--port PORT]\n"
    "                         \"restart\\trestart\\trestart\\r\": the same after 5 s\n"
    "  listen [--port PORT] [--json]\n"
    "                         every datagram on the port (default 1338) as it comes:\n"
    "                         time, sender, length, fields 0, 1 and 4, the NIP, and\n"
    "                         what the plug-in makes of it; Ctrl-C ends\n"
    "  log [FILE | DIR] [--date DD-MM-YYYY] [--calls] [--follow]\n"
    "                         a day log (default today's under LOGS\\TELEFONY\\) as\n"
    "                         UTF-8, calls in columns, a summary of the day at the end\n"
    "  doctor [DIR] [--host-ini FILE] [--date DD-MM-YYYY]\n"
    "                         checks a host directory (default .): settings, slot\n"
    "                         file, log directory, port, listeners in the day log;\n"
    "                         exit code 0 only when no problem is found\n"
    "  slots FILE [--json]    the ten phone slots of a slot file (slot, phone, target,\n"
    "                         date, time, NIP, text; ! marks a wrong NIP check\n"
    "                         digit); exit code 1 when the file is\n"
    "                         not 5620 bytes long (its whole records are still listed)\n"
    "  window-description [--list]\n"
    "                         the caller-ID window description: raw bytes,\n"
    "                         or its records and data record layout\n";

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        PrintTo(argc < 2 ? stderr : stdout, "%s", kUsage);
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "send") == 0) return RunSendCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "ping") == 0 || std::strcmp(argv[1], "restart") == 0)
        return RunControlCommand(argv[1], argc - 2, argv + 2);
    if (std::strcmp(argv[1], "slots") == 0) return RunSlotsCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "listen") == 0) return RunListenCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "log") == 0) return RunLogCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "doctor") == 0) return RunDoctorCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "window-description") == 0)
        return RunWindowDescriptionCommand(argc - 2, argv + 2);
    PrintTo(stderr, "callerid: unknown command %s\n", argv[1]);
    PrintTo(stderr, "%s", kUsage);
    return 2;
}

// Every sentence of the tool in English.
#include "output/counted_words.h"
#include "output/messages.h"

const char* EnglishText(Msg message) {
    switch (message) {
        case Msg::Usage:
            return "usage: callerid [--lang pl|en] COMMAND [ARGS]\n"
                   "commands:\n"
                   "  help                   this text\n"
                   "  send [--to ADDRESS] [--port PORT] PHONE TARGET [TEXT]\n"
                   "                         one call as the caller-ID box sends it: fields 0, 1\n"
                   "                         and 4 (UTF-8 typed, sent in Mazovia),\n"
                   "                         to 127.0.0.1:1338\n"
                   "  send [--to ADDRESS] [--port PORT] --raw TEXT\n"
                   "                         exactly these bytes; \\t \\r \\n \\0 \\\\ \\xHH escapes\n"
                   "  ping [ADDRESS] [--port PORT]\n"
                   "                         \"ping\\tping\\tping\\r\": the listener pauses 25 s and\n"
                   "                         listens again with re-read settings\n"
                   "                         (default 127.0.0.1)\n"
                   "  restart [ADDRESS] [--port PORT]\n"
                   "                         \"restart\\trestart\\trestart\\r\": the same after 5 s\n"
                   "  listen [--port PORT] [--dir DIR] [--json]\n"
                   "                         every datagram on the port (default 1338) as it comes:\n"
                   "                         time, sender, length, fields 0, 1 and 4, the NIP, and\n"
                   "                         what the plug-in makes of it; Ctrl-C ends\n"
                   "  log [FILE | DIR] [--date DD-MM-YYYY] [--calls] [--follow]\n"
                   "                         a day log (default today's under LOGS\\TELEFONY\\) as\n"
                   "                         UTF-8, calls in columns with the stations that filed\n"
                   "                         them, a summary of the day at the end\n"
                   "  doctor [DIR] [--host-ini FILE] [--date DD-MM-YYYY] [--program-dir DIR]\n"
                   "                         checks a host working directory (default .): the\n"
                   "                         plug-in and MERLOX beside this tool, settings, slot\n"
                   "                         file, log directory, port, listeners in the day log\n"
                   "  slots FILE [--json]    the ten phone slots (1-10) of a slot file: phone,\n"
                   "                         target, date, time, NIP, text; ! marks a NIP that\n"
                   "                         is not ten digits or has a wrong check digit\n"
                   "  firewall add|remove [--port PORT] [--program-dir DIR] [--from ADDRESS...]\n"
                   "                         this station's Windows firewall rules for the\n"
                   "                         plug-in's port (Pytaj in MERLOX.INI of the program\n"
                   "                         folder, else of this folder; else 1338), named as the\n"
                   "                         setup names them; needs an administrator\n"
                   "  senders [list | add ADDRESS... | remove ADDRESS...] [--dir DIR]\n"
                   "                         the senders allowed to send calls (Nadawcy in\n"
                   "                         Ornitel.ini): addresses, ranges a.b.c.d-e.f.g.h,\n"
                   "                         subnets a.b.c.d/n, *\n"
                   "  window-description [--list]\n"
                   "                         the caller-ID window description: raw bytes (into a\n"
                   "                         file or a pipe), or its records and data layout\n"
                   "exit codes: 0 done (doctor: no problem), 1 doctor found a problem, 2 bad usage,\n"
                   "3 a file or folder cannot be read or is not what the command expects,\n"
                   "4 network, 5 the firewall was not changed\n";
        case Msg::UnknownCommand: return "unknown command %s (callerid help lists the commands)";
        case Msg::NeedsValue: return "%s needs a value";
        case Msg::BadLanguage: return "--lang takes pl or en";
        case Msg::BadPort: return "%s is no port: expected a number from 1 to 65535";
        case Msg::BadAddress: return "%s is no address: expected an IPv4 address such as 192.168.1.255";
        case Msg::BadDate: return "%s is no date: expected DD-MM-YYYY, a day that exists (such as 09-12-2026)";
        case Msg::UnexpectedArgument: return "unexpected argument %s (callerid help lists the arguments)";
        case Msg::NoSuchFile: return "%s does not exist";
        case Msg::IsDirectory: return "%s is a folder, not a file";
        case Msg::CannotRead: return "cannot read %s: give this user read access";
        case Msg::NotDayLog: return "%s is no day log: none of its lines is an event or call line of the plug-in";
        case Msg::BinaryFile: return "%s is a binary file, not a text the plug-in writes";
        case Msg::NotSlotFile: return "%s is no slot file: field ends missing in slot %d";
        case Msg::SlotFileWrongSize:
            return "the file is %s, not %zu: it holds %s and %s of another, not listed; the plug-in reads the missing slots as free";
        case Msg::NoWholeSlot: return "%s is no slot file: %s, not one whole slot of %zu";
        case Msg::SlotFileOverlong: return "the file is %s, not %zu: what follows the ten slots (%s) belongs to no slot";
        case Msg::NetworkError: return "cannot send to %s port %d: %s";
        case Msg::SendUsage: return "send needs PHONE TARGET [TEXT] or --raw TEXT";
        case Msg::SendRawNeedsText: return "--raw needs a text";
        case Msg::SendRawTakesNoFields: return "--raw takes no phone, target or text";
        case Msg::SendBadEscape: return "a broken escape in the --raw text: use \\t \\r \\n \\0 \\\\ or \\xHH";
        case Msg::SendNotInMazovia:
            return "nothing sent: the host's code page (Mazovia) has no %s, which it would show as \"?\"; write them otherwise (EUR, -, \"), or give the bytes with --raw";
        case Msg::Sent: return "sent: %s to %s port %d";
        case Msg::ControlSent: return "sent: %s to %s port %d (a listener there pauses %d s and listens again)";
        case Msg::SlotsUsage: return "slots needs a slot FILE (such as LOGS\\TELEFONY\\CLIP.DAT)";
        case Msg::SlotsHeading: return "%s: %s, %s";
        case Msg::SlotsColumns: return "slot  phone                 target                date        time\n      NIP               text";
        case Msg::SlotFree: return "(free)";
        case Msg::WrongNipLegend: return "! after a NIP: not ten digits, or not a right NIP (a typing error in the box's text?)";
        case Msg::Listening: return "listening on UDP port %ld (every local address); Ctrl-C ends";
        case Msg::PortHeld:
            return "UDP port %ld is already held, most likely by the host program with the caller-ID plug-in running on this "
                   "station: close the host program there and run listen again (the box sends to this one port, so "
                   "another port would hear nothing); to find the holder: %s shows its process number (PID), %s its name";
        case Msg::CannotListen: return "cannot listen on UDP port %ld: %s";
        case Msg::VerdictCall: return "a call: filed in the slot of target \"%s\" and, with the log on, in the day log";
        case Msg::VerdictRing: return "a ring notice: never recorded";
        case Msg::VerdictRepeat: return "a repeat of %s within 19 s: not recorded";
        case Msg::VerdictSameAgain: return "the same datagram again within the second: not handed on (\"Bez zapisu\")";
        case Msg::VerdictControlWord:
            return "control word \"%s\": the listener pauses %d s, filing what comes, re-reads its settings and listens again";
        case Msg::VerdictControlWordInPause: return "control word \"%s\": within a pause, which still ends as it would";
        case Msg::VerdictAlsoFiled: return " (it is also filed as a call of target \"%s\")";
        case Msg::VerdictTooLong: return "too long (%s, at most %zu): dropped, the day log shows \"recvfrom() error: 10040\"";
        case Msg::VerdictEmpty: return "empty: ignored";
        case Msg::NoDayLog: return "no day log %s: nothing logged that day (is \"Twórz LOG\" ticked in the plug-in's window?)";
        case Msg::WaitingForLog: return "waiting for %s to appear (the plug-in makes it with the day's first line); Ctrl-C ends";
        case Msg::CallsColumns: return "date       time      phone                 target                NIP\n           stations: text";
        case Msg::Summary:
            return "calls %d, rings %d, repeats dropped %d, datagrams received %d, control words %d, errors %d, "
                   "stations %d";
        case Msg::SummaryLine: return "summary: %s";
        case Msg::WindowUsage: return "window-description takes only --list";
        case Msg::WindowRawToTerminal:
            return "the raw description is binary: send it into a file or a pipe (callerid window-description > window.bin), or use --list";
        case Msg::WindowHeading: return "caller-ID window description: %s, %s (the window and %s), window data record %s";
        case Msg::WindowColumns: return "  #  kind          id     flags  hotkey     x    y    w    h  data\n     text";
        case Msg::NoDirectory: return "%s is a file, not the host's working folder";
        case Msg::ProgramDirMissing: return "program folder %s does not exist: give the folder of the host program with --program-dir";
        case Msg::PluginFound: return "plug-in: %s in %s";
        case Msg::PluginMissing:
            return "plug-in: no %s in %s: copy it there from the release (or run the setup into the host's folder), or give the host's folder with --program-dir";
        case Msg::HostModuleFound: return "host program: %s in %s";
        case Msg::HostModuleMissing:
            return "host program: no %s in %s: the plug-in and this tool belong in the host program's folder; install them there, or give that folder with --program-dir";
        case Msg::NeverRan:
            return "working folder %s: no Ornitel.ini and no LOGS\\TELEFONY\\, so the plug-in never ran here: run doctor in the folder the host runs in, or start the host there once";
        case Msg::HostIniMissing: return "host settings: %s does not exist: give the host's own settings file with --host-ini";
        case Msg::HostIniIsDirectory: return "host settings: %s is a folder: give the host's settings file with --host-ini";
        case Msg::HostIniNotIni: return "host settings: %s is no INI file: give the host's settings file with --host-ini";
        case Msg::HostIniUnreadable: return "host settings: cannot read %s: give this user read access";
        case Msg::PytajMissing:
            return "settings: no Pytaj in [Ornitel] of %s: the plug-in starts with the day log off and port 1338; open its window (Ctrl-G) and leave it to save them";
        case Msg::PytajNotNumbers:
            return "settings: Pytaj=%s in %s is not four comma-separated numbers (notice,options,slot,port such as 1,4,0,1338): correct it";
        case Msg::PytajBadOptions: return "settings: Pytaj=%s: option bits %ld hold unknown bits (known: 1 NIP hint, 2 clipboard, 4 day log): set 0 to 7";
        case Msg::PytajBadSlot: return "settings: Pytaj=%s: slot %ld is not 1 to 10: choose a slot in the plug-in's window";
        case Msg::PytajBadPort:
            return "settings: Pytaj=%s: port %ld is outside 1 to 65535: the plug-in listens on %ld, and the setup and callerid firewall add their rules for it; set the box's port, normally 1338";
        case Msg::PytajOk: return "settings: Pytaj=%s (options %ld, slot %ld, port %ld)";
        case Msg::DayLogOff: return "settings: the day log is off: tick \"Twórz LOG\" in the plug-in's window to see what it receives";
        case Msg::FilenameDefault: return "slot file name: none set in Ornitel.ini, the plug-in uses LOGS\\TELEFONY\\CLIP.DAT";
        case Msg::FilenameNoDirectory:
            return "slot file name: Filename=%s in Ornitel.ini: its folder %s does not exist: create it or choose another file in the plug-in's window (Wybierz)";
        case Msg::FilenameNotWritable: return "slot file name: Filename=%s: its folder is not writable: give the users write access";
        case Msg::FilenameOk: return "slot file name: Filename=%s";
        case Msg::SlotFileNotYet: return "slot file: %s not made yet (the first call makes it)";
        case Msg::SlotFileUnreadable: return "slot file: %s cannot be read: give the users read and write access";
        case Msg::SlotFileBad:
            return "slot file: %s is %s, not %zu, or damaged (%s): delete it (F4 in the plug-in's window) and the next call makes a new one";
        case Msg::SlotFileDoubleTarget: return "slot file: %s: target %s is in two slots (the next call for it clears the later one)";
        case Msg::SlotFileOk: return "slot file: %s: %s, %d of 10 slots taken";
        case Msg::LogDirNotYet: return "log folder: LOGS\\TELEFONY\\ not made yet (the plug-in makes it)";
        case Msg::LogDirCannotMake: return "log folder: %s is not writable, so LOGS\\TELEFONY\\ cannot be made: give the users write access";
        case Msg::LogDirNotWritable: return "log folder: %s is not a writable folder: give the users write access to it";
        case Msg::LogDirOk: return "log folder: %s is writable";
        case Msg::DayLogMissing: return "day log: no %s: nothing logged that day (is \"Twórz LOG\" on and the host running?)";
        case Msg::DayLogUnreadable: return "day log: %s cannot be read as a day log: delete it (F4 in the plug-in's window)";
        case Msg::DayLogOk: return "day log: %s: %s";
        case Msg::StationNeverAlive: return "station %s: no \"I'm alive\" line that day: its listener never listened; is the host running there?";
        case Msg::StationStopped:
            return "station %s: last \"I'm alive\" at %s: its listener has stopped, or the host was closed; restart the host there";
        case Msg::StationAlive: return "station %s: last \"I'm alive\" at %s";
        case Msg::StationLastDatagram: return "station %s: last datagram at %s from %s";
        case Msg::StationSilentBox:
            return "station %s: alive from %s to %s and no datagram from the box: the box may be silent; check its power and cable, and that it sends to this station (or the broadcast address) on the plug-in's port";
        case Msg::StationBindErrors: return "station %s: %s: another program held the port for a while (10048)";
        case Msg::StationReceiveErrors: return "station %s: %s";
        case Msg::StationRestarts: return "station %s: %s";
        case Msg::StationNoLock:
            return "station %s: files calls without the stations' lock on the slot file (system code %d, last at %s): the stations do not wait for each other and may write over each other's calls; make the slot file's folder one that every user may write and whose file system or share supports locks, so that the lock file (.lck beside the slot file) can be made and locked";
        case Msg::PortFree: return "UDP port %ld is free (no listener runs on this station now)";
        case Msg::PortCannotTry: return "UDP port %ld cannot be tried: %s";
        case Msg::PortHeldByPlugin: return "UDP port %ld is held by the plug-in's listener (alive at %s)";
        case Msg::PortHeldByOther:
            return "UDP port %ld is held, and the day log shows no live listener of this station: another program holds it; find it (%s shows its process number, %s its name) and close it, or the host runs with its day log off";
        case Msg::FirewallForPort: return "the port is %ld, not 1338: add the firewall rules for it in an administrator's command prompt, with the toolkit or with netsh:";
        case Msg::ProblemCount: return "%s";
        case Msg::HostIniGiven: return "host settings: %s, given with --host-ini";
        case Msg::HostIniFromProgramDir: return "host settings: %s, the program folder's (the one the setup reads too)";
        case Msg::HostIniFromWorkingDir: return "host settings: %s, the working folder's (the program folder has no MERLOX.INI)";
        case Msg::HostIniNone:
            return "host settings: no MERLOX.INI in the program folder %s nor in the working folder %s: the plug-in starts with the day log off and port 1338";
        case Msg::HostIniPortsDiffer:
            return "host settings: %s names port %ld and %s port %ld: the host reads only one of them; set the same port in both or delete the one not needed (the setup and its firewall rules take the program folder's)";
        case Msg::PluginPortDiffers:
            return "station %s: the plug-in listens since %s on port %ld, while %s names port %ld: the host reads other settings, or was not restarted since the change; give the host's settings file with --host-ini, or restart the host";
        case Msg::SlotFileIsDirectory:
            return "slot file: %s is a folder, not a file: delete or rename that folder (or choose another file in the plug-in's window)";
        case Msg::LockFileIsDirectory:
            return "lock file: %s is a folder, so the stations cannot take turns writing the slots: delete that folder (the plug-in makes the file itself)";
        case Msg::LockFileUnreadable:
            return "lock file: %s cannot be opened: give the users read and write access to it (read is enough for the lock)";
        case Msg::LockFileOk: return "lock file: %s";
        case Msg::HostIniFromVirtualStore:
            return "host settings: %s, Windows' copy of the program folder's MERLOX.INI that a host run without administrator rights reads (file virtualization)";
        case Msg::HostIniVirtualPortsDiffer:
            return "host settings: %s names port %ld and its copy %s, which a host run without administrator rights reads, port %ld: the setup took the first; set the same port in both, or delete the copy";
        case Msg::StationClockOff:
            return "station %s: its clock is %s s off the server's (day log line of %s): the calls it files carry its own wrong times; set that computer's clock, or have it take the time from the server";
        case Msg::FirewallUsage: return "firewall needs add or remove (and takes --port PORT, --program-dir DIR)";
        case Msg::FirewallWindowsOnly:
            return "firewall is for Windows stations: it adds and removes the Windows firewall's rules with netsh; open the plug-in's UDP port with this system's own firewall";
        case Msg::FirewallNotElevated:
            return "changing the firewall needs an administrator: open the command prompt with \"Run as administrator\" and run this again; nothing was changed";
        case Msg::FirewallPortGiven: return "port %ld: given with --port";
        case Msg::FirewallPortFrom: return "port %ld: Pytaj in [Ornitel] of %s";
        case Msg::FirewallPortNone: return "port %ld: %s names none (Pytaj in [Ornitel])";
        case Msg::FirewallPortNoIni: return "port %ld: no MERLOX.INI in the program folder %s nor in this folder";
        case Msg::FirewallBadPytaj:
            return "Pytaj=%s in %s names no port from 1 to 65535: correct it (the plug-in's window saves it), or give --port";
        case Msg::FirewallAdded: return "added: \"%s\"";
        case Msg::FirewallNotAdded: return "not added: \"%s\": %s";
        case Msg::FirewallRemoved: return "removed: \"%s\"";
        case Msg::FirewallNoneThere: return "not there: \"%s\" (nothing to remove)";
        case Msg::FirewallNotRemoved: return "not removed: \"%s\": %s";
        case Msg::NetshEnded: return "netsh ended with %ld";
        case Msg::NetshNotStarted: return "netsh could not be started: %s";
        case Msg::FirewallPortOutOfRange:
            return "port %ld: Pytaj=%s in %s names port %ld, outside 1 to 65535; the plug-in listens on %ld, so the rules are for %ld (set the box's port, normally 1338, in the plug-in's window)";
        case Msg::NoSuchFolderGiven: return "%s %s: there is no such folder";
        case Msg::NoSuchFileGiven: return "%s %s: there is no such file";
        case Msg::SendersUsage: return "senders takes list, add ADDRESS..., or remove ADDRESS... (and --dir DIR)";
        case Msg::BadSender: return "%s is not an IPv4 address, range (a.b.c.d-e.f.g.h), subnet (a.b.c.d/n) or *; nothing was changed";
        case Msg::SendersListed: return "senders allowed (Nadawcy in %s): %s";
        case Msg::SendersNotSet: return "senders allowed: none set (Nadawcy in %s), so calls are taken from the local subnets of each station and from loopback";
        case Msg::SendersAnywhere: return "senders allowed: * (Nadawcy in %s): calls are taken from anywhere";
        case Msg::SendersWritten: return "Nadawcy=%s written to %s; the stations take it at their next restart (callerid restart)";
        case Msg::SendersNotWritten: return "cannot write %s: %s";
        case Msg::SenderNotListed: return "%s is not in Nadawcy; nothing was changed";
        case Msg::SendersBadStored: return "Nadawcy in %s holds entries that are no address, range or subnet (the first: %s): the plug-in skips them";
        case Msg::DoctorRefusedSender: return "station %s refused %d datagram(s) from %s today (last at %s): it is not in Nadawcy; if it is the office's caller-ID box: callerid senders add %s";
        case Msg::DoctorNoFreeSlot: return "%d call(s) today found no free slot, since %s, for %s: they are in the day log but not in the slots; clear the slots no longer needed in the caller-ID window (Ctrl-G), and let only the office's boxes send calls (callerid senders)";
        case Msg::SlotsNoFreeSlot: return "all ten slots are taken: a call for a new target finds no slot (callerid doctor tells how many did today)";
        case Msg::VerdictRefused: return "refused: sender not allowed (not in Nadawcy; callerid senders add %s)";
        case Msg::FirewallRemoteAddresses: return "the rule takes datagrams from %s";
        case Msg::Count: break;
    }
    return "";
}

const char* EnglishNoun(Noun noun, NounForm form) {
    static const char* const kForms[][2] = {
        {"byte", "bytes"},
        {"whole record", "whole records"},
        {"record", "records"},
        {"control", "controls"},
        {"slot", "slots"},
        {"bind() error line", "bind() error lines"},
        {"recvfrom() error line", "recvfrom() error lines"},
        {"listener restart", "listener restarts"},
        {"problem", "problems"},
    };
    static_assert(sizeof kForms / sizeof kForms[0] == static_cast<std::size_t>(Noun::Count), "a noun without its forms");
    return kForms[static_cast<int>(noun)][form == NounForm::One ? 0 : 1];
}

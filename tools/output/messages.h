// Every sentence the tool says, by name; the texts are in one catalogue per
// language (messages_en.cpp, messages_pl.cpp), and a missing one is a
// compile-time warning there. Data the tool shows (datagram texts, names
// from files) is never translated.
#pragma once

#include "output/language.h"
#include "system/station.h"

enum class Msg {
    Usage, UnknownCommand, NeedsValue, BadLanguage, BadPort, BadAddress, BadDate,
    UnexpectedArgument, NoSuchFile, IsDirectory, CannotRead, NotDayLog, BinaryFile, NotSlotFile,
    SlotFileWrongSize, NoWholeSlot, SlotFileOverlong, NetworkError,
    // send, ping, restart
    SendUsage, SendRawNeedsText, SendRawTakesNoFields, SendBadEscape, Sent, ControlSent, SendNotInMazovia,
    // slots
    SlotsUsage, SlotsHeading, SlotsColumns, SlotFree, WrongNipLegend,
    // listen
    Listening, PortHeld, CannotListen, VerdictCall, VerdictRing, VerdictRepeat, VerdictSameAgain,
    VerdictControlWord, VerdictControlWordInPause, VerdictAlsoFiled, VerdictTooLong, VerdictEmpty,
    // log
    NoDayLog, WaitingForLog, CallsColumns, Summary, SummaryLine,
    // window-description
    WindowUsage, WindowRawToTerminal, WindowHeading, WindowColumns,
    // doctor
    NoDirectory, ProgramDirMissing, PluginFound, PluginMissing, HostModuleFound,
    HostModuleMissing, NeverRan, HostIniMissing, HostIniIsDirectory, HostIniNotIni, HostIniUnreadable,
    PytajMissing, PytajNotNumbers, PytajBadOptions, PytajBadSlot, PytajBadPort, PytajOk, DayLogOff,
    FilenameDefault, FilenameNoDirectory, FilenameNotWritable, FilenameOk, SlotFileNotYet,
    SlotFileUnreadable, SlotFileBad, SlotFileDoubleTarget, SlotFileOk, LogDirNotYet, LogDirCannotMake,
    LogDirNotWritable, LogDirOk, DayLogMissing, DayLogUnreadable, DayLogOk, StationNeverAlive,
    StationStopped, StationAlive, StationLastDatagram, StationSilentBox, StationBindErrors,
    StationReceiveErrors, StationRestarts, PortFree, PortCannotTry, PortHeldByPlugin, PortHeldByOther,
    FirewallForPort, ProblemCount, HostIniGiven, HostIniFromProgramDir, HostIniFromWorkingDir, HostIniNone,
    HostIniPortsDiffer, PluginPortDiffers, SlotFileIsDirectory, LockFileIsDirectory, LockFileUnreadable, LockFileOk,
    HostIniFromVirtualStore, HostIniVirtualPortsDiffer, StationNoLock,
    StationClockOff,
    // firewall
    FirewallUsage, FirewallWindowsOnly, FirewallNotElevated, FirewallPortGiven, FirewallPortFrom, FirewallPortNone,
    FirewallPortNoIni, FirewallBadPytaj, FirewallAdded, FirewallNotAdded, FirewallRemoved, FirewallNoneThere,
    FirewallNotRemoved, NetshEnded, NetshNotStarted, FirewallPortOutOfRange,
    // options that name a file or folder
    NoSuchFolderGiven, NoSuchFileGiven,
    // senders, and what doctor, listen and firewall say of them
    SendersUsage, BadSender, SendersListed, SendersNotSet, SendersAnywhere, SendersWritten, SendersNotWritten,
    SenderNotListed, SendersBadStored, DoctorRefusedSender, DoctorNoFreeSlot, SlotsNoFreeSlot, VerdictRefused,
    FirewallRemoteAddresses,
    Count
};

// The text in the language in use.
const char* T(Msg message);
const char* EnglishText(Msg message);
const char* PolishText(Msg message);

// The formatted text as a string.
std::string Say(Msg message, ...);
// "callerid COMMAND: " and the text on one line to stderr; returns code.
int Fail(int code, const char* command, Msg message, ...);

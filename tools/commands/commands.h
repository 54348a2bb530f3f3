// The tool's commands, one file each. Every one takes the words after its
// name and returns an exit code of output/exit_codes.h.
#pragma once

// send: one caller-ID datagram as the box sends it, or raw bytes.
int RunSendCommand(int argc, char** args);
// ping, restart (word): the control words that make a listener pause,
// re-read its settings and listen again.
int RunControlCommand(const char* word, int argc, char** args);
// slots: a phone-slot file for a person or, with --json, for a script.
int RunSlotsCommand(int argc, char** args);
// listen: every datagram on the port, with what the plug-in makes of it.
int RunListenCommand(int argc, char** args);
// log: a day log made readable, its calls, its counts.
int RunLogCommand(int argc, char** args);
// doctor: what stands between a station and a working plug-in.
int RunDoctorCommand(int argc, char** args);
// firewall add|remove: this station's firewall rules for the plug-in's port.
int RunFirewallCommand(int argc, char** args);
// senders list|add|remove: the senders a station takes calls from.
int RunSendersCommand(int argc, char** args);
// window-description: the caller-ID window description, raw or listed.
int RunWindowDescriptionCommand(int argc, char** args);

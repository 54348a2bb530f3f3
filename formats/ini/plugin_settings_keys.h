// Where the plug-in keeps its settings, written once for the plug-in that
// writes them and the callerid tool that reads them: the four numbers
// under one key of the plug-in's section in the host's own settings, and
// the slot file name under another key of the same section in a settings
// file of its own.
#pragma once

inline constexpr char kPluginSettingsSection[] = "Ornitel";
// "notice,options,selected slot,port", in the host's settings.
inline constexpr char kPluginNumbersKey[] = "Pytaj";
// The plug-in's own settings file, in the host's working folder.
inline constexpr char kPluginIniFileName[] = "Ornitel.ini";
inline constexpr char kPluginFileNameKey[] = "Filename";
// The allowed senders, beside the slot file name so that stations sharing
// a data folder share them.
inline constexpr char kPluginSendersKey[] = "Nadawcy";

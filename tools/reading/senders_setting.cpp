// Nadawcy= of Ornitel.ini, read and written as the plug-in and its host do.
#include "reading/senders_setting.h"

#include <vector>

#include "ini/ini_file.h"
#include "ini/plugin_settings_keys.h"
#include "reading/host_directory.h"

namespace {
constexpr const char* kSection = kPluginSettingsSection;
constexpr const char* kKey = kPluginSendersKey;
}  // namespace

SendersSetting ReadSenders(const std::filesystem::path& directory) {
    SendersSetting setting;
    setting.file = directory / kPluginIniFileName;
    setting.text = IniValue(setting.file, kSection, kKey).value_or("");
    std::size_t offset = 0, length = 0;
    setting.bad = ParseSenderList(setting.text.c_str(), &setting.list, &offset, &length);
    if (setting.bad > 0) setting.firstBad = setting.text.substr(offset, length);
    return setting;
}

std::string SendersText(const SenderList& list) {
    std::string text;
    for (int i = 0; i < list.count; ++i) {
        char entry[40];
        FormatSenderRange(list.ranges[i], entry, sizeof entry);
        if (!text.empty()) text += ',';
        text += entry;
    }
    if (list.anywhere) {
        if (!text.empty()) text += ',';
        text += '*';
    }
    return text;
}

bool WriteSenders(const SendersSetting& setting, const std::string& value, std::string& error) {
    std::string bytes;
    FileRead read = ReadWholeFile(setting.file, bytes);
    if (read != FileRead::Read && read != FileRead::Missing) {
        error = Shown(setting.file);
        return false;
    }
    std::vector<std::string> notUnderstood;
    refhost::IniFile ini = refhost::IniFile::Parse(bytes, notUnderstood);
    ini.Set(kSection, kKey, value);
    return ini.Write(setting.file.string(), error);
}

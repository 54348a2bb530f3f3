// The failure report. Each message is composed into a 3072-byte buffer and
// handed to the host's message box as an argument of the format "%s", never
// as the format itself: a module file name may hold a '%'.
#include "host/report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/binding.h"
#include "host/checks.h"
#include "plugin/frame.h"
#include "text/mazovia.h"

static constexpr auto kMissingServices = MZ(
    u8"Wtyczka \"%s\" potrzebuje zaimportować\n%s z modułu głównego,\n"
    u8"jednak moduł główny %s nie posiada. Aby naprawić tę sytuację\n"
    u8"zainstaluj aktualizację programu oraz wtyczki.\n\n"
    u8"WTYCZKA NIE ZOSTANIE ZAŁADOWANA!!!\n");
static constexpr auto kOneService = MZ(u8"funkcję o numerze %hu");
static constexpr auto kManyServices = MZ(u8"funkcje o numerach");
static constexpr auto kSizesHeader = MZ(
    u8"Rozmiary rekordów niektórych tabel nie zgadzają się\n"
    u8"między programem a wtyczką '%s' (moduł '%s'):\n\n"
    u8"\x01tl18l33\x01TABELA\tWE WTYCZCE\tW PROGRAMIE\n");
static constexpr auto kSizesTrailer = MZ(u8"\nModuł \x02%s\x01\nNIE zostanie załadowany!");
static constexpr auto kMissingFeatures = MZ(
    u8"Program nie obsługuje cech 0x%08X,\nktóre są niezbędne dla modułu '%s'.");
static constexpr auto kVersionMismatch = MZ(
    u8"Moduł \"%s\" i program występują w różnych wersjach!\n\n"
    u8"Został zakualizowany tylko program albo tylko moduł,\n"
    u8"a nie oba jednocześnie! Aby naprawić tę sytuację\n"
    u8"zainstaluj aktualizację programu wraz z modułem \"%s\".\n\n"
    u8"MODUŁ NIE ZOSTANIE ZAŁADOWANY!!!\n");
static constexpr auto kNotInitialised = MZ(
    u8"Moduł \"%s\" nie został poprawnie zainicjowany,\nwięc NIE BĘDZIE AKTYWNY!");

// Appends formatted text to a NUL-terminated buffer of the given capacity,
// cutting it to fit.
[[gnu::format(printf, 3, 4)]] static void Append(char* buffer, std::size_t capacity,
                                                 const char* format, ...) {
    std::size_t used = std::strlen(buffer);
    if (used + 1 >= capacity) return;
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer + used, capacity - used, format, arguments);
    va_end(arguments);
}

int FormatMissingServices(char* buffer) {
    buffer[0] = '\0';
    int count = g_missingServices.count;
    if (count == 0) return 0;

    char list[256] = "";
    if (count == 1) {
        Append(list, sizeof list, kOneService, g_missingServices.ordinals[0]);
    } else {
        int stored = std::min(count, kStoredMissingOrdinals);
        uint16_t sorted[kStoredMissingOrdinals];
        for (int i = 0; i < stored; ++i) {  // insertion sort of at most eight
            int j = i;
            for (; j > 0 && sorted[j - 1] > g_missingServices.ordinals[i]; --j)
                sorted[j] = sorted[j - 1];
            sorted[j] = g_missingServices.ordinals[i];
        }
        Append(list, sizeof list, "%s", kManyServices.c_str());
        for (int i = 0; i < stored; ++i) Append(list, sizeof list, " %hu,", sorted[i]);
        std::size_t length = std::strlen(list);
        if (length > 0 && list[length - 1] == ',') list[length - 1] = '\0';
    }
    std::snprintf(buffer, kReportSize, kMissingServices, kDisplayName, list,
                  count == 1 ? "jej" : "ich");
    return count;
}

int FormatRecordSizes(char* buffer) {
    buffer[0] = '\0';
    RecordSizeMismatch* entry = FirstRecordSizeMismatch();
    if (!entry) return 0;
    Append(buffer, kReportSize, kSizesHeader, kDisplayName, g_frame.moduleFileName);
    for (; entry; entry = entry->next) {
        Append(buffer, kReportSize, "\x01tp25p40\x01%s\t%d\t", entry->tableName,
               static_cast<int>(entry->expectedSize));
        if (entry->hostSize == 0)
            Append(buffer, kReportSize, "brak\n");
        else
            Append(buffer, kReportSize, "%d\n", static_cast<int>(entry->hostSize));
    }
    Append(buffer, kReportSize, kSizesTrailer, g_frame.moduleFileName);
    return -1;
}

static void ShowStopMessage(const char* text) {
    CallHost<Host::StopMessage>(15000, "STOP!!!", "%s", 61441, 28206, text);
}

void ReportLoadFailure() {
    if (g_frame.hostControl) g_frame.hostControl(1, -1);
    char buffer[kReportSize] = "";

    if (g_frame.missingFeatureBits != 0) {
        std::snprintf(buffer, sizeof buffer, kMissingFeatures,
                      static_cast<unsigned>(g_frame.missingFeatureBits), kDisplayName);
    } else if (FormatMissingServices(buffer) == 0 && FormatRecordSizes(buffer) == 0) {
        const char* name = g_frame.moduleFileName;
        if (RunStartChecks() != 0)
            std::snprintf(buffer, sizeof buffer, kVersionMismatch, name, name);
        else
            std::snprintf(buffer, sizeof buffer, kNotInitialised, name);
    }
    ShowStopMessage(buffer);
}

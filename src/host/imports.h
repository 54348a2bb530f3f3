// The host import table: every host service the plug-in uses, in table
// order, with its ordinal, the name the code calls it by, and its type.
// Services are bound by ordinal from the module "MERLOX" (see binding.cpp).
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "platform/platform.h"

using HostControlEntry = int(HOSTVA*)(int, int);
using ThreadProcedure = void(HOSTVA*)(void* block);
using WindowProcedure = int(HOSTAPI*)(int id, int event);
using TableHandler = int(HOSTAPI*)(int key, int, int, int, int, int, int, int, int, int column, int);

// X(ordinal, name, result, calling convention, parameters)
#define HOST_IMPORTS(X)                                                                        \
    X(35802, StopMessage, int, HOSTVA, (int, const char* title, const char* format, int, int, ...)) \
    X(40008, Unused40008, int, HOSTAPI, ())                                                    \
    X(41611, Unused41611, int, HOSTAPI, ())                                                    \
    X(41613, Unused41613, int, HOSTAPI, ())                                                    \
    X(30005, Unused30005, int, HOSTAPI, ())                                                    \
    X(38417, Unused38417, int, HOSTAPI, ())                                                    \
    X(52158, ConvertCodes, int, HOSTAPI, (char* out, const char* in, int from, int to))        \
    X(52044, SetControlRect, int, HOSTAPI, (int id, int16_t* rect))                            \
    X(52021, UnhookWindow, int, HOSTAPI, (int window))                                         \
    X(52006, DateValue, int, HOSTAPI, (const char* date))                                      \
    X(52020, HookWindow, void*, HOSTAPI, (int window, WindowProcedure hook))                   \
    X(52308, WriteStream, int, HOSTAPI, (const void* data, int size, int count, FILE* stream)) \
    X(52305, CloseStream, int, HOSTAPI, (FILE* stream))                                        \
    X(51711, ShowViewer, int, HOSTAPI, (const char* text))                                     \
    X(52205, SetClipboard, int, HOSTAPI, (const char* text, int length))                       \
    X(52046, SetWindowRectangle, int, HOSTAPI, (int16_t* rect))                                \
    X(32108, Unused32108, int, HOSTAPI, ())                                                    \
    X(30204, TodayDate, int, HOSTAPI, (char* date))                                            \
    X(38020, OpenViewer, void*, HOSTAPI, (const char* kind, int limit, char* path, int, int, int)) \
    X(30909, SecondsSince, int, HOSTAPI, (const char* now, const char* then))                  \
    X(52043, ControlRect, int, HOSTAPI, (int id, int16_t* rect))                               \
    X(52045, WindowRectangle, int, HOSTAPI, (int16_t* rect))                                   \
    X(52307, ReadStream, int, HOSTAPI, (void* data, int size, int count, FILE* stream))        \
    X(52026, RunWindow, int, HOSTVA, (const void* description, int id, void* data, WindowProcedure procedure)) \
    X(51704, ChooseFile, int, HOSTAPI, (int, char* path, const char* mask, int capacity, int, int, int)) \
    X(52247, OfferSuggestion, int, HOSTAPI, (const char* text))                                \
    X(52023, NoticeWindow, int, HOSTVA, (int notice, int16_t* flag, int, const char* title))   \
    X(52040, ExchangeWindowData, int, HOSTAPI, (void* record, int direction))                  \
    X(41399, IniFile, int, HOSTVA, (const char* file, int mode, const char* section, const char* key, const char* format, va_list arguments)) \
    X(51594, InterfaceLevel, int, HOSTAPI, ())                                                 \
    X(35385, ConvertText, char*, HOSTAPI, (char* out, int capacity, const char* in, int length, int from, int to)) \
    X(30908, SameDay, int, HOSTAPI, (const char* today, const char* date))                     \
    X(52064, StopCall, int, HOSTAPI, ())                                                       \
    X(52056, ShowText, int, HOSTAPI, (int id, const char* text))                               \
    X(52251, WindowTimer, int, HOSTAPI, (int interval))                                        \
    X(52028, AskUser, int, HOSTAPI, (const char* title, const char* text, int style))          \
    X(52256, TableDescriptor, void*, HOSTAPI, (int table))                                     \
    X(52534, OpenStream, FILE*, HOSTAPI, (const char* path, const char* mode, int share, int, int)) \
    X(52034, RefreshWindow, int, HOSTAPI, (int, int, int))                                     \
    X(52161, CopyBounded, int, HOSTAPI, (char* out, const char* in, int limit))                \
    X(52130, InsertCharacter, int, HOSTAPI, (char* position, int character))                   \
    X(30308, CurrentTime, int, HOSTAPI, (char* time, int form))                                \
    X(52224, HostSettings, int, HOSTVA, (int mode, const char* section, const char* key, const char* format, va_list arguments)) \
    X(52248, PushKeys, int, HOSTAPI, (const uint16_t* keys))                                   \
    X(33153, StartThread, int, HOSTAPI, (const char* name, ThreadProcedure procedure, int, void* block)) \
    X(32500, CurrentUser, const char*, HOSTAPI, ())                                            \
    X(32008, DisplayDate, int, HOSTAPI, (char* out, const char* date))                         \
    X(51434, MakeDirectories, int, HOSTAPI, (const char* path))                                \
    X(52435, TakeField, int, HOSTAPI, (int field, const char* text, char* out, int textSize, int outSize, const char* separators)) \
    X(33155, StopThread, int, HOSTAPI, (void* block, int timeout))                             \
    X(37970, StationNumber, int, HOSTAPI, ())                                                  \
    X(52407, AppendLine, int, HOSTAPI, (const char* path, const char* line))

enum class Host : int {
#define HOST_IMPORT_NAME(ordinal, name, result, convention, parameters) name,
    HOST_IMPORTS(HOST_IMPORT_NAME)
#undef HOST_IMPORT_NAME
};

inline constexpr int kHostImportCount = 52;

// The table itself (its initial contents, the binding stubs, are in the
// assembly file of the target's processor).
extern "C" void* g_hostImports[kHostImportCount];

template <Host S>
struct HostImport;

#define HOST_IMPORT_TRAITS(ordinal_, name, result, convention, parameters) \
    template <>                                                            \
    struct HostImport<Host::name> {                                        \
        using Function = result(convention*) parameters;                   \
        static constexpr unsigned ordinal = ordinal_;                      \
    };
HOST_IMPORTS(HOST_IMPORT_TRAITS)
#undef HOST_IMPORT_TRAITS

bool IsHostServiceAvailable(Host service);

// Calls a host service through its table entry. A service the host lacks
// is never called: the call gives the neutral result (0 or null) instead.
template <Host S, typename... Arguments>
auto CallHost(Arguments&&... arguments) {
    using Function = typename HostImport<S>::Function;
    auto function = reinterpret_cast<Function>(g_hostImports[static_cast<int>(S)]);
    using Result = decltype(function(std::forward<Arguments>(arguments)...));
    if (!function) return Result{};
    return function(std::forward<Arguments>(arguments)...);
}

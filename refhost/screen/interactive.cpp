// The interactive mode: the terminal, the screen with its status lines, the
// user in the windows, and the contractor table under everything. The
// plug-in's notice and its stop show on the screen, so they come while it
// is up.
#include "screen/interactive.h"

#include <unistd.h>

#include "screen/event_feed.h"
#include "screen/screen.h"
#include "screen/table_screen.h"
#include "screen/window_screen.h"
#include "terminal/curses_session.h"

namespace refhost {

bool InteractiveAvailable() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

int RunInteractive(PluginSession& session, const std::function<bool()>& stopRequested) {
    screen::CursesSession terminal;
    screen::EventFeed events;
    screen::ScopedConsoleFeed feed(events);
    screen::Screen screen(terminal, events, stopRequested);
    screen::WindowScreen windows(screen, stopRequested);
    screen::TableScreen table(screen, windows, session);
    screen::ScopedLayer bottom(screen, table);
    session.ShowNotice();
    table.Run(stopRequested);
    session.Stop();
    return 0;
}

}  // namespace refhost

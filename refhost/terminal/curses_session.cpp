// Entering and leaving the terminal's full-screen mode.
#include "terminal/curses_session.h"

#include <curses.h>
#include <langinfo.h>

#include <clocale>
#include <cstring>

namespace refhost::screen {

// ESC alone must not wait long to be told from the start of a key's
// sequence; 25 ms is plenty for a local terminal or tmux.
static constexpr int kEscapeDelayMilliseconds = 25;

CursesSession::CursesSession() {
    std::setlocale(LC_ALL, "");
    const char* codeset = nl_langinfo(CODESET);
    utf8_ = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    set_escdelay(kEscapeDelayMilliseconds);
    initscr();
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    if (has_colors()) {
        start_color();
        use_default_colors();
        colours_ = true;
    }
    curs_set(0);
}

CursesSession::~CursesSession() {
    curs_set(1);
    endwin();
}

}  // namespace refhost::screen

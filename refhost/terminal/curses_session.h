// The terminal in full-screen mode for as long as the object lives: the
// locale the user set (so that UTF-8 terminals get Polish letters), raw
// keys (Ctrl-Z and Ctrl-C reach the host as keys, as they do in a text-mode
// program), no echo, the keypad's keys, and colours where there are any.
#pragma once

namespace refhost::screen {

class CursesSession {
public:
    CursesSession();
    ~CursesSession();
    CursesSession(const CursesSession&) = delete;
    CursesSession& operator=(const CursesSession&) = delete;

    bool utf8() const { return utf8_; }
    bool colours() const { return colours_; }

private:
    bool utf8_ = false;
    bool colours_ = false;
};

}  // namespace refhost::screen

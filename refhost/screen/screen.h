// The host's screen: what is on it (the contractor table, windows, boxes,
// each a layer over the ones before it), the status lines at the bottom,
// and the keys from the keyboard. The layer on top takes the keys and says
// which keys it takes on the bottom line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "screen/event_feed.h"
#include "terminal/canvas.h"
#include "terminal/curses_session.h"
#include "terminal/keys.h"

namespace refhost::screen {

class Layer {
public:
    virtual ~Layer() = default;
    virtual void Paint(Canvas& canvas) = 0;
    // The keys this layer takes, for the bottom line while it is on top.
    virtual std::string KeyHelp() const { return {}; }
};

class Screen {
public:
    // Once stopRequested says so, every wait ends at once with ESC, so that
    // boxes and windows close without anybody at the keyboard.
    Screen(const CursesSession& terminal, EventFeed& events, std::function<bool()> stopRequested);

    void Push(Layer& layer);
    void Remove(Layer& layer);

    // Draws every layer, the status lines and the key line.
    void Draw();
    // Draws, then waits at most this long for a key, drawing again when the
    // terminal's size or the events change. Kind None when no key came.
    ScreenKey WaitKey(int milliseconds);
    void Beep();

    EventFeed& events() { return events_; }
    bool utf8() const { return terminal_.utf8(); }

private:
    ScreenKey ReadKey(int milliseconds);
    void PaintStatus(Canvas& canvas, int firstRow);

    const CursesSession& terminal_;
    EventFeed& events_;
    std::function<bool()> stopRequested_;
    std::vector<Layer*> layers_;
};

// A layer on the screen for as long as this object lives.
class ScopedLayer {
public:
    ScopedLayer(Screen& screen, Layer& layer) : screen_(screen), layer_(layer) { screen_.Push(layer_); }
    ~ScopedLayer() { screen_.Remove(layer_); }
    ScopedLayer(const ScopedLayer&) = delete;
    ScopedLayer& operator=(const ScopedLayer&) = delete;

private:
    Screen& screen_;
    Layer& layer_;
};

}  // namespace refhost::screen

// The host's main screen: the contractor table (table 35, "k4") with its
// cursor, the menu bar, and the keys of the table. Search keys and Ctrl-G
// go to the table's handler, which is the plug-in's hook while the plug-in
// runs; the search window and the plug-in's action open from here.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "screen/screen.h"
#include "screen/window_screen.h"
#include "services/session.h"

namespace refhost::screen {

class TableScreen : public Layer {
public:
    TableScreen(Screen& screen, WindowScreen& windows, PluginSession& session);

    // Until the user quits or a stop is requested.
    void Run(const std::function<bool()>& stopRequested);

    void Paint(Canvas& canvas) override;
    std::string KeyHelp() const override;

private:
    void Handle(const ScreenKey& key);
    void MoveCursor(long rows, int columns);
    int ColumnNumber() const;
    bool InNipColumn() const;
    void PressSearchKey(uint16_t key);
    void PressHandlerKey(uint16_t key);
    void OpenSearch();
    void FindContractor(const std::string& typedMazovia);
    void ShowContractor();
    void ShowMenuBar();
    void ShowEvents();
    void PaintTable(Canvas& canvas, int top);

    Screen& screen_;
    WindowScreen& windows_;
    PluginSession& session_;
    std::size_t row_ = 0;
    std::size_t column_ = 0;  // index among the table's columns
    std::size_t firstRow_ = 0;
    int pageRows_ = 1;
    bool quit_ = false;
};

}  // namespace refhost::screen

// The contractor table and what its keys do. The host hands the table's
// handler the command keys only; moving the cursor is the table's own
// business and reaches no handler.
#include "screen/table_screen.h"

#include <algorithm>

#include "plumbing/host.h"
#include "screen/menu.h"
#include "screen/message_box.h"
#include "screen/text_viewer.h"
#include "services/host_screen.h"
#include "tables/contractor_table.h"
#include "tables/contractors.h"
#include "tables/search_window.h"
#include "terminal/terminal_text.h"
#include "text/mazovia_utf8.h"

namespace refhost::screen {
namespace {

constexpr int kTableTop = 2;          // the menu bar and the title come first
constexpr int kWaitMilliseconds = 500;

// Fits a text into a column: cut, or filled with spaces.
std::string Fit(const std::string& utf8, int width) {
    std::vector<std::string> cells = Utf8Cells(utf8);
    cells.resize(static_cast<std::size_t>(std::max(0, width)), " ");
    std::string fitted;
    for (const std::string& cell : cells) fitted += cell;
    return fitted;
}

}  // namespace

TableScreen::TableScreen(Screen& screen, WindowScreen& windows, PluginSession& session)
    : screen_(screen), windows_(windows), session_(session) {
    // The cursor starts in the NIP column, where the plug-in's keys work.
    auto columns = ContractorColumns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].number == kNipColumnNumber) column_ = i;
}

void TableScreen::Run(const std::function<bool()>& stopRequested) {
    while (!quit_ && !stopRequested()) {
        ScreenKey key = screen_.WaitKey(kWaitMilliseconds);
        if (key.kind == ScreenKey::Kind::None || key.kind == ScreenKey::Kind::Resize) continue;
        Handle(key);
    }
}

int TableScreen::ColumnNumber() const { return ContractorColumns()[column_].number; }
bool TableScreen::InNipColumn() const { return ColumnNumber() == kNipColumnNumber; }

void TableScreen::MoveCursor(long rows, int columns) {
    long count = static_cast<long>(SampleContractors().size());
    long row = std::clamp(static_cast<long>(row_) + rows, 0L, count - 1);
    row_ = static_cast<std::size_t>(row);
    long columnCount = static_cast<long>(ContractorColumns().size());
    long column = std::clamp(static_cast<long>(column_) + columns, 0L, columnCount - 1);
    column_ = static_cast<std::size_t>(column);
}

void TableScreen::Handle(const ScreenKey& key) {
    if (key.Is(pc::kUp)) return MoveCursor(-1, 0);
    if (key.Is(pc::kDown)) return MoveCursor(1, 0);
    if (key.Is(pc::kPageUp)) return MoveCursor(-pageRows_, 0);
    if (key.Is(pc::kPageDown)) return MoveCursor(pageRows_, 0);
    if (key.Is(pc::kHome)) return MoveCursor(-static_cast<long>(row_), 0);
    if (key.Is(pc::kEnd)) return MoveCursor(static_cast<long>(SampleContractors().size()), 0);
    if (key.Is(pc::kLeft) || key.Is(pc::kBackTab)) return MoveCursor(0, -1);
    if (key.Is(pc::kRight) || key.Is(pc::kTab)) return MoveCursor(0, 1);
    if (key.Is(pc::kCtrlF) || key.Is(pc::kCtrlZ)) return PressSearchKey(key.code);
    if (key.IsText() && !key.alt && (key.Byte() == 'Z' || key.Byte() == 'z') && InNipColumn())
        return PressSearchKey(key.code);
    if (key.Is(pc::kCtrlG)) return PressHandlerKey(key.code);
    if (key.Is(pc::kEnter)) return ShowContractor();
    if (key.Is(pc::FunctionKey(9)) || (key.alt && key.IsText() && (key.Byte() == 'm' || key.Byte() == 'M')))
        return ShowMenuBar();
    if (key.Is(pc::FunctionKey(2))) return ShowEvents();
    if (key.Is(pc::FunctionKey(10)) || key.Is(pc::kCtrlC)) {
        quit_ = true;
        return;
    }
    if (key.kind == ScreenKey::Kind::Unsupported) screen_.Beep();
}

void TableScreen::PressHandlerKey(uint16_t key) {
    std::string error;
    if (!PressTableKey(key, ColumnNumber(), static_cast<int>(row_), error))
        ShowHostMessage(screen_, "Kontrahenci", error);
    windows_.TakeLastClosed();
}

// The plug-in offers its suggestion while the handler runs; the search
// window then opens with it. A suggestion left from before must not.
void TableScreen::PressSearchKey(uint16_t key) {
    SetSuggestion("");
    SetPushedKeys({});
    std::string error;
    if (!PressTableKey(key, ColumnNumber(), static_cast<int>(row_), error)) {
        ShowHostMessage(screen_, "Kontrahenci", error);
        return;
    }
    OpenSearch();
}

void TableScreen::OpenSearch() {
    windows_.TakeLastClosed();
    OpenSearchWindow();
    std::optional<WindowScreen::ClosedWindow> closed = windows_.TakeLastClosed();
    if (closed && closed->id == kSearchWindowId && closed->closedBy == kSearchButtonId)
        FindContractor(closed->inputs[kSearchNipInputId]);
}

void TableScreen::FindContractor(const std::string& typedMazovia) {
    std::string typed = MazoviaToUtf8(typedMazovia);
    std::optional<std::size_t> found = FindByNip(SampleContractors(), typed);
    if (!found) {
        PrintLine("contractor table: no contractor has the NIP \"" + typed + "\"");
        ShowHostMessage(screen_, "Szukaj kontrahenta", "Nie ma kontrahenta o NIP \"" + typed + "\".");
        return;
    }
    row_ = *found;
    MoveCursor(0, 0);
    const Contractor& contractor = SampleContractors()[row_];
    PrintLine(std::string("contractor table: found ") + contractor.code + " (" + contractor.name + "), NIP " +
              NipForDisplay(contractor.nip));
}

void TableScreen::ShowContractor() {
    const Contractor& c = SampleContractors()[row_];
    // Every line sets a tab stop at column 10, so the values stand in one column.
    auto line = [](const char* label, const std::string& value) {
        return std::string("\x01tl10\x01") + label + "\t" + value + "\n";
    };
    std::string text = line("Skrót:", c.code) + line("Nazwa:", c.name) +
                       line("Adres:", std::string(c.street) + ", " + c.postalCode + " " + c.city) +
                       line("Telefon:", c.phone) + line("NIP:", NipForDisplay(c.nip) + (IsValidNip(c.nip) ? "" : " (błędny)"));
    text.pop_back();
    ShowHostMessage(screen_, "Kontrahent", text);
}

void TableScreen::ShowMenuBar() {
    std::vector<MenuEntry> entries = {
        {MazoviaToUtf8(session_.name()), "Ctrl-G"},
        {"Szukaj kontrahenta po NIP", "Ctrl-F"},
        {"Zdarzenia hosta", "F2"},
        {"Koniec pracy", "F10"},
    };
    std::optional<std::size_t> chosen = ShowMenu(screen_, entries, 1, 1);
    if (!chosen) return;
    switch (*chosen) {
        case 0:
            PrintLine("action 30010 returned " + std::to_string(session_.Action30010(0)));
            windows_.TakeLastClosed();
            return;
        case 1:
            OpenSearch();
            return;
        case 2:
            ShowEvents();
            return;
        default:
            quit_ = true;
            return;
    }
}

void TableScreen::ShowEvents() {
    ShowTextViewer(screen_, "Zdarzenia hosta", screen_.events().All(), ViewerStart::End);
}

std::string TableScreen::KeyHelp() const {
    return "↑↓←→ ruch  Ctrl-F/Ctrl-Z szukaj (w kolumnie NIP)  Ctrl-G Caller ID  Enter karta  F9 menu  F2 zdarzenia  "
           "F10 koniec";
}

void TableScreen::Paint(Canvas& canvas) {
    canvas.Fill({0, 0, canvas.width(), 1}, Look::Bar);
    canvas.Text(1, 0, "F9 Menu   Kontrahenci   Wtyczka: " + MazoviaToUtf8(session_.name()), Look::Bar,
                canvas.width() - 2);
    std::size_t count = SampleContractors().size();
    canvas.Text(1, 1,
                "Kontrahenci (tabela 35 „k4”)   wiersz " + std::to_string(row_ + 1) + " z " + std::to_string(count) +
                    ", kolumna " + std::to_string(ColumnNumber()) + " " + ContractorColumns()[column_].title,
                Look::Plain, canvas.width() - 2);
    PaintTable(canvas, kTableTop);
}

void TableScreen::PaintTable(Canvas& canvas, int top) {
    auto columns = ContractorColumns();
    auto contractors = SampleContractors();
    // The columns start where they must for the cursor's column to be seen.
    std::size_t firstColumn = 0;
    auto widthFrom = [&](std::size_t first, std::size_t last) {
        int width = 1;
        for (std::size_t i = first; i <= last; ++i) width += columns[i].width + 1;
        return width;
    };
    while (firstColumn < column_ && widthFrom(firstColumn, column_) > canvas.width()) ++firstColumn;
    pageRows_ = std::max(1, canvas.height() - top - 1);
    if (row_ < firstRow_) firstRow_ = row_;
    if (row_ >= firstRow_ + static_cast<std::size_t>(pageRows_)) firstRow_ = row_ - static_cast<std::size_t>(pageRows_) + 1;
    canvas.Fill({0, top, canvas.width(), 1}, Look::Bar);
    int x = 1;
    for (std::size_t c = firstColumn; c < columns.size(); ++c) {
        canvas.Text(x, top, Fit(columns[c].title, columns[c].width), Look::Bar);
        x += columns[c].width + 1;
    }
    for (int line = 0; line < pageRows_; ++line) {
        std::size_t r = firstRow_ + static_cast<std::size_t>(line);
        if (r >= contractors.size()) break;
        int y = top + 1 + line;
        bool cursorRow = r == row_;
        if (cursorRow) {
            canvas.Fill({0, y, canvas.width(), 1}, Look::TableCursor);
            canvas.Text(0, y, canvas.utf8() ? "►" : ">", Look::TableCursor);
        }
        x = 1;
        for (std::size_t c = firstColumn; c < columns.size(); ++c) {
            Look look = cursorRow ? (c == column_ ? Look::TableCell : Look::TableCursor) : Look::Plain;
            canvas.Text(x, y, Fit(columns[c].value(contractors[r]), columns[c].width), look);
            x += columns[c].width + 1;
        }
    }
}

}  // namespace refhost::screen

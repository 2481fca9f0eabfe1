// The main window's keys: which typed characters it echoes to the information pane, and the
// list of every key, shortcut and mouse gesture that Info > "Keyboard shortcuts" shows.
#pragma once

#include <Qt>
#include <string>
#include <vector>

class QMenu;
class QMenuBar;
class QString;
class QWidget;

struct TShortcutRow {
  std::string Keys;  // "Ctrl+F", "F2", "Wheel"
  std::string What;
};

// "Key a" for a typed character; empty for a key that types none, and for Alt or Meta
// combinations, which are commands (menu mnemonics), not characters. Ctrl+Alt is AltGr on
// some systems and does type characters.
std::string KeyEchoLine(const QString& text, Qt::KeyboardModifiers modifiers);

// A row for every entry of `menu` (and its submenus) that has a shortcut: "File > Open".
void AddMenuShortcuts(const QMenu& menu, const QString& path, std::vector<TShortcutRow>& rows);

// For each menu of `bar`: its mnemonic ("Alt+F Open the File menu") and its entries' shortcuts.
void AddMenuBarShortcuts(const QMenuBar& bar, std::vector<TShortcutRow>& rows);

// The list in a dialog of its own, modal over `parent`.
void ShowShortcutList(QWidget* parent, const std::vector<TShortcutRow>& rows);

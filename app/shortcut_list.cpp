#include "app/shortcut_list.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kListWidth = 460;
constexpr int kListHeight = 420;

}  // namespace

std::string KeyEchoLine(const QString& text, Qt::KeyboardModifiers modifiers) {
  if (text.isEmpty() || !text.front().isPrint()) return {};
  const bool altGr = modifiers.testFlag(Qt::AltModifier) && modifiers.testFlag(Qt::ControlModifier);
  if ((modifiers.testFlag(Qt::AltModifier) && !altGr) || modifiers.testFlag(Qt::MetaModifier)) return {};
  return "Key " + text.toStdString();
}

void AddMenuShortcuts(const QMenu& menu, const QString& path, std::vector<TShortcutRow>& rows) {
  for (const QAction* a : menu.actions()) {
    const QString name = path + " > " + QString(a->text()).remove(QLatin1Char('&'));
    if (a->menu()) AddMenuShortcuts(*a->menu(), name, rows);
    else if (!a->shortcut().isEmpty())
      rows.push_back({a->shortcut().toString(QKeySequence::NativeText).toStdString(), name.toStdString()});
  }
}

void AddMenuBarShortcuts(const QMenuBar& bar, std::vector<TShortcutRow>& rows) {
  for (const QAction* menu : bar.actions()) {
    if (!menu->menu()) continue;
    const QString title = QString(menu->text()).remove(QLatin1Char('&'));
    const QKeySequence mnemonic = QKeySequence::mnemonic(menu->text());
    if (!mnemonic.isEmpty())
      rows.push_back(
          {mnemonic.toString(QKeySequence::NativeText).toStdString(), "Open the " + title.toStdString() + " menu"});
    AddMenuShortcuts(*menu->menu(), title, rows);
  }
}

void ShowShortcutList(QWidget* parent, const std::vector<TShortcutRow>& rows) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Keyboard shortcuts"));
  auto* list = new QTreeWidget(&dialog);
  list->setObjectName(QStringLiteral("ShortcutList"));
  list->setColumnCount(2);
  list->setHeaderLabels({QStringLiteral("Key"), QStringLiteral("Action")});
  list->setRootIsDecorated(false);
  for (const TShortcutRow& r : rows)
    list->addTopLevelItem(new QTreeWidgetItem({QString::fromStdString(r.Keys), QString::fromStdString(r.What)}));
  list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addWidget(buttons);
  dialog.resize(kListWidth, kListHeight);
  dialog.exec();
}

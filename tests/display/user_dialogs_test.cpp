// The real file dialog a question sets up, read back without showing it.
#include "display/user_dialogs.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QWidget>

#include "tests/platform/test_files.h"

namespace {

TEST(UserDialogs, SaveQuestionSetsUpTheDialogAndTheFiltersSuffixes) {
  TTempFolder folder;
  const QString start = QString::fromStdString(folder.File("part.png"));
  QWidget parent;
  QFileDialog* d = MakeFileDialog(&parent, {TFileAction::Save,
                                            "Export picture",
                                            start,
                                            {{"PNG picture (*.png)", "png"}, {"SVG drawing (*.svg)", "svg"}},
                                            true,
                                            false});
  EXPECT_EQ(d->parent(), &parent);
  EXPECT_EQ(d->windowTitle(), "Export picture");
  EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(d->fileMode(), QFileDialog::AnyFile);
  EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(d->nameFilters(), (QStringList{"PNG picture (*.png)", "SVG drawing (*.svg)"}));
  EXPECT_EQ(d->directory().absolutePath(), QString::fromStdString(folder.Path()));
  EXPECT_EQ(d->selectedFiles().value(0), start);
  EXPECT_EQ(d->defaultSuffix(), "png");
  // A name typed without an extension gets the chosen filter's.
  d->selectNameFilter("SVG drawing (*.svg)");
  emit d->filterSelected("SVG drawing (*.svg)");
  EXPECT_EQ(d->defaultSuffix(), "svg");
  d->selectFile(QString::fromStdString(folder.File("chosen")));
  EXPECT_EQ(d->selectedFiles().value(0).toStdString(), folder.File("chosen.svg"));
}

TEST(UserDialogs, OpenQuestionAsksForAnExistingFile) {
  QWidget parent;
  TFileQuestion question{TFileAction::Open, "Open CNC file", {}, {}, false, true};
  const QFileDialog* d = MakeFileDialog(&parent, question);
  EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
  EXPECT_FALSE(d->testOption(QFileDialog::DontUseNativeDialog)) << "the desktop's own dialog";
  EXPECT_TRUE(d->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(d->defaultSuffix(), "");
}

}  // namespace

// Answers a window's questions from a script instead of real dialogs, and notes what was
// asked. A question nobody scripted an answer for fails the test. The script must outlive
// the window that asks.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "display/user_dialogs.h"

struct TScriptedDialogs {
  std::deque<QString> Files;  // answers to file questions in turn; an empty one cancels
  std::deque<bool> Answers;   // answers to yes/no questions in turn
  std::vector<TFileQuestion> FileQuestions;
  std::vector<TYesNoQuestion> YesNoQuestions;
  std::vector<QString> Warnings;  // their texts

  TUserDialogs Dialogs() {
    return {[this](QWidget*, const TFileQuestion& q) {
              FileQuestions.push_back(q);
              if (Files.empty()) {
                ADD_FAILURE() << "unexpected file question " << q.Title.toStdString();
                return QString();
              }
              const QString file = Files.front();
              Files.pop_front();
              return file;
            },
            [this](QWidget*, const TYesNoQuestion& q) {
              YesNoQuestions.push_back(q);
              if (Answers.empty()) {
                ADD_FAILURE() << "unexpected question " << q.Text.toStdString();
                return false;
              }
              const bool yes = Answers.front();
              Answers.pop_front();
              return yes;
            },
            [this](QWidget*, const QString&, const QString& text) { Warnings.push_back(text); }};
  }
};

// The user interface of a program without a window: message boxes are
// written to stderr in UTF-8 (a Yes/No question is answered No), the menu
// and the repaints are ignored, and PostQuit ends the main loop.
#pragma once

#include <cstdio>

#include "platform/platform.h"
#include "platform/windows1252.h"

class HeadlessUi : public Ui {
 public:
  bool quitPosted = false;

  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon, bool) override {
    std::fprintf(stderr, "%s: ", Utf8FromCp1252(title).c_str());
    for (char c : Utf8FromCp1252(text)) std::fputc(c == '\n' ? ' ' : c, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
  }
  void EnableMenuItem(int, bool) override {}
  void CheckMenuItem(int, bool) override {}
  void SetWindowTitle(const std::string&) override {}
  void InvalidateWindow() override {}
  void PostQuit() override { quitPosted = true; }
};

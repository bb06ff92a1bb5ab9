// The main window's menu as data: popups, items, ids and starting states.
#pragma once

#include <vector>

struct MenuItem {
  const char* popup;  // set on the first item of each popup
  int id;             // 0 for a separator
  const char* text;
  bool enabled;
  bool checkable;  // shows a check mark that follows a game flag
  bool checked;
};

const std::vector<MenuItem>& MainMenu();

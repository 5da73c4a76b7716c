#pragma once

class AppState;

// Shows the one dictionary window: modeless from the main window, modal from the
// library window; an open window is brought forward.
void ShowDictionary(AppState& app, bool modal);

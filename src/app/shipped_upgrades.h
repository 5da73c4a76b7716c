#pragma once

class AppState;

// Brings the data folder's shipped database files up to the program's content,
// as the main window loads. What failed is told in one message; those files
// stay as they were and are used as they are.
void upgradeShippedFiles(AppState& app);

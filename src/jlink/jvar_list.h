#pragma once

#include "jlink/host_value.h"

#include <QString>

#include <optional>

class AppState;
class FlexGrid;
class IMessageBox;
class TextBox;

// Rendering of a value read from J as text: a blank before every element, CR LF
// after every row, an extra CR LF between planes; nothing for 4 or more
// dimensions. On a failure the text rendered so far is kept in `partial`.
std::optional<QString> RenderJValue(const HostValue& v, QString* partial = nullptr);

// Replaces the box's text by the rendering of the value; a failure is reported
// with a message box and leaves what was written so far.
void ShowJValue(const HostValue& v, TextBox& box, IMessageBox& msgBox);

// The J variable list (grid MSFlexGrid2 on the main window) and its tables.
class JVarList {
public:
    JVarList(AppState& app, FlexGrid& grid);

    void InitJVarList();
    void RegisterJVariable(const QString& name);
    void RegisterJMatrix(const QString& name);

    // Reads J's noun names into J_Get and registers every one but J_Get, as the
    // evaluation (matrixOnly false) or the fixing of a matrix (true) does.
    // Returns the code of the last engine call.
    int RefreshFromJ(bool matrixOnly);

private:
    AppState& m_app;
    FlexGrid& m_grid;
};

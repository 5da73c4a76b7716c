#pragma once

#include <QString>

class SheetWidget;
class TextBox;
class VbForm;

// What the features may ask of the main window. The main window implements it;
// features go through it instead of reaching for the window's controls.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;

    virtual VbForm& form() = 0;

    // The expression box.
    virtual QString expressionText() const = 0;
    virtual void setExpressionText(const QString& text) = 0;
    // The hidden box that carries the last rendered result.
    virtual TextBox& resultBox() = 0;
    // The data sheet of the sheet page.
    virtual SheetWidget& sheet() = 0;
    virtual double defaultFillColor() const = 0;

    // Fronts one of the two variable lists: 1 fixed matrices, 2 J nouns.
    virtual void showVariableList(int tab) = 0;
    // Brings the J noun list up to date (matrixOnly: only two-dimensional nouns, as
    // fixing a matrix does); returns the code of the last engine call.
    virtual int refreshJVariables(bool matrixOnly) = 0;
    // Empties the J noun list.
    virtual void resetJVariables() = 0;
    virtual void setLastCode(int code) = 0;
    virtual void setReleaseEnabled(bool on) = 0;
    // Opens the expression library, modally.
    virtual void openLibrary() = 0;
};

#pragma once

#include "base/j_rendering.h"

#include <QHash>
#include <QString>

#include <functional>

#include <cstdint>
#include <optional>

class AppState;
class FlexGrid;
struct NounInfo;

// The J variable list (grid MSFlexGrid2 on the main window) and its tables in
// app.jvars. The tables grow past their first 50 rows and 100 wide names.
class JVarList {
public:
    JVarList(AppState& app, FlexGrid& grid);

    void InitJVarList();
    void RegisterJVariable(const QString& name);
    void RegisterJMatrix(const QString& name);

    // Reads J's noun names into J_Get and registers every one but the transfer nouns,
    // as the evaluation (matrixOnly false) or the fixing of a matrix (true) does. J tells
    // each noun's type and shape in one sentence; no value is read.
    // Returns the code of the read of the names.
    int RefreshFromJ(bool matrixOnly);

private:
    // The list row holding name, added at the end when there is none.
    int rowFor(const QString& name);
    void ensureSlot(int row);
    void fillRow(int row, const QString& name, const NounInfo& info);
    NounInfo readInfo(const QString& name);
    void registerVariable(const QString& name, const NounInfo& info);
    // info is asked only when the row needs it.
    void registerMatrix(const QString& name, const std::function<NounInfo()>& info);
    bool knownWide(const QString& name) const;
    void rememberWide(const QString& name);

    AppState& m_app;
    FlexGrid& m_grid;
    // Where each name was last found; checked against the grid before it is trusted.
    QHash<QString, int> m_rowOf;
};

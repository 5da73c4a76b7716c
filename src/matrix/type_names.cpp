#include "matrix/type_names.h"

#include "base/fixed_table.h"
#include "engine/host_value.h"

namespace {

struct Names {
    int code;
    const char* longName;
    const char* shortName;
};

constexpr Names kNames[] = {
    {0, "[未初期化]", "[未初期化]"},
    {1, "[無効な値]", "[無効な値]"},
    {2, "[整数型 (Integer)]", "[単整数型]"},
    {3, "[長整数型 (Long)]", "[長整数型]"},
    {4, "[単精度浮動小数点数型 (Single)]", "[単浮動小数型]"},
    {5, "[倍精度浮動小数点数型 (Double)]", "[倍浮動小数型]"},
    {6, "[通貨型 (Currency)]", "[通貨型]"},
    {7, "[日付型 (Date)]", "[日付型]"},
    {8, "[文字列型 (String)]", "[文字列型]"},
    {9, "[オブジェクト]", "[ｵﾌﾞｼﾞｪｸﾄ]"},
    {10, "[エラー値]", "[エラー値]"},
    {11, "[ブール型 (Boolean)]", "[ブール型]"},
    {12, "[バリアント型 (Variant) (バリアント型]", "[bariant型]"},
    {13, "[非OLE オートメーション オブジェクト]", "[非OLE型]"},
    {14, "[10 進数型]", "[10進数型]"},
    {17, "[バイト型 (Byte)]", "[バイト型]"},
    {36, "[ユーザー定義型を含むバリアント型]", "[ユーザー定義型]"},
};

QString typeName(int code, bool longForm) {
    QString prefix;
    if (code >= vt::Array) {
        prefix = QStringLiteral("配列, ");
        code -= vt::Array;
    }
    for (const Names& n : kNames)
        if (n.code == code) return prefix + QString::fromUtf8(longForm ? n.longName : n.shortName);
    return prefix;
}

}  // namespace

QString TypeNameShort(int typeCode) { return typeName(typeCode, false); }

QString TypeNameLong(int typeCode) { return typeName(typeCode, true); }

QString TypeNameLong(const FixedMatrixState& fixed) {
    const int slot = fixed.FixedCurrent;
    if (slot < 0 || slot >= static_cast<int>(fixed.FixedValues.size())) return TypeNameLong(vt::Empty);
    return TypeNameLong(fixed.FixedValues[slot].type());
}

#pragma once

#include "report/model/types.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <span>
#include <vector>

namespace rep {

class TrepComponent;

// One stored property of a class: its name in the stored form, how to write it as text and
// how to apply a text through the object's write accessor.
struct PropDef
{
    const char *name;
    QString (*get)(const TrepComponent &);
    bool (*set)(TrepComponent &, const QString &); // false: the text cannot be applied
    // Typed comparison and copy between two objects of the class (no text round trip).
    bool (*equal)(const TrepComponent &, const TrepComponent &);
    void (*copy)(TrepComponent &, const TrepComponent &);
    // nullptr: always stored when it differs from the default; otherwise stored only while true.
    bool (*stored)(const TrepComponent &) = nullptr;
    // Written even when equal to the default (values that must survive as a group).
    bool always = false;
};

// The stored properties of one class, in stored order.
class PropTable
{
public:
    PropTable() = default;
    PropTable(const PropTable &base, std::initializer_list<PropDef> own);
    PropTable(std::initializer_list<PropDef> own);

    const std::vector<PropDef> &defs() const { return m_defs; }
    const PropDef *find(QStringView name) const;
    // Keeps only the named properties (in this table's order).
    PropTable filtered(std::initializer_list<const char *> names) const;

private:
    void index();
    std::vector<PropDef> m_defs;
    QHash<QString, int> m_byName; // lower-case
};

// Text forms of stored values.
QString fmtFloat(double v);
bool parseFloat(const QString &s, double &v);
QString fmtBool(bool v);
bool parseBool(const QString &s, bool &v);
QString fmtInt(qint64 v);
bool parseInt(const QString &s, int &v);
// Enumerations by the names of their values, in ordinal order; sets as "[a,b]".
using NameList = std::span<const char *const>;
QString fmtEnum(int v, NameList names);
bool parseEnum(const QString &s, NameList names, int &v);
QString fmtSet(int bits, NameList names);
bool parseSet(const QString &s, NameList names, int &bits);
// Lines joined as one text, each line followed by CR LF; and back (CR LF, LF or CR end a line).
QString joinLines(const QStringList &lines);
QStringList splitLines(const QString &text);

inline constexpr const char *REP_NAMES_HALIGN[] = {"haLeft", "haRight", "haCenter", "haBlock"};
inline constexpr const char *REP_NAMES_VALIGN[] = {"vaTop", "vaBottom", "vaCenter"};
inline constexpr const char *REP_NAMES_FRAMESTYLE[] = {"fsSolid", "fsDash", "fsDot", "fsDashDot", "fsDashDotDot", "fsDouble"};
inline constexpr const char *REP_NAMES_FRAMETYPE[] = {"ftLeft", "ftRight", "ftTop", "ftBottom"};
inline constexpr const char *REP_NAMES_SHAPE[] = {"skRectangle", "skRoundRectangle", "skEllipse", "skTriangle", "skDiamond", "skDiagonal1", "skDiagonal2"};
inline constexpr const char *REP_NAMES_QRLEVEL[] = {"qeLow", "qeMedium", "qeQuartile", "qeHigh"};
inline constexpr const char *REP_NAMES_ALIGN[] = {"baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom"};
inline constexpr const char *REP_NAMES_SHIFT[] = {"smDontShift", "smAlways", "smWhenOverlapped"};
inline constexpr const char *REP_NAMES_STRETCH[] = {"smDontStretch", "smActualHeight", "smMaxHeight"};
inline constexpr const char *REP_NAMES_RESTRICTION[] = {"rfDontModify", "rfDontSize", "rfDontMove", "rfDontDelete"};
inline constexpr const char *REP_NAMES_FORMATKIND[] = {"fkText", "fkNumeric", "fkDateTime", "fkBoolean"};
inline constexpr const char *REP_NAMES_DUPLEX[] = {"dmNone", "dmVertical", "dmHorizontal"};
inline constexpr const char *REP_NAMES_PRINTPAGES[] = {"ppAll", "ppOdd", "ppEven"};
inline constexpr const char *REP_NAMES_ZOOM[] = {"zmDefault", "zmWholePage", "zmPageWidth", "zmManyPages"};
inline constexpr const char *REP_NAMES_BUTTONS[] = {"pbPrint", "pbLoad", "pbSave", "pbExport", "pbZoom", "pbFind", "pbOutline", "pbPageSetup", "pbTools", "pbEdit", "pbNavigator"};
inline constexpr const char *REP_NAMES_ORIENTATION[] = {"poPortrait", "poLandscape"};
inline constexpr const char *REP_NAMES_FONTSTYLE[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
inline constexpr const char *REP_NAMES_BRUSH[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};

// Property definitions: Cls is the class, Expr reads the value from `o` (a const Cls &), Apply
// writes `v` (the parsed value) to `o` (a Cls &).
#define REP_PROP(Cls, Name, Fmt, ParseType, Parse, Expr, Apply)                                    \
    PropDef{Name,                                                                                   \
            [](const TrepComponent &c) -> QString {                                                 \
                [[maybe_unused]] const Cls &o = static_cast<const Cls &>(c);                        \
                return Fmt(Expr);                                                                   \
            },                                                                                      \
            [](TrepComponent &c, const QString &s) -> bool {                                        \
                [[maybe_unused]] Cls &o = static_cast<Cls &>(c);                                    \
                ParseType v{};                                                                      \
                if (!Parse(s, v))                                                                   \
                    return false;                                                                   \
                Apply;                                                                              \
                return true;                                                                        \
            },                                                                                      \
            [](const TrepComponent &a, const TrepComponent &b) -> bool {                            \
                const ParseType x = [&] { const Cls &o = static_cast<const Cls &>(a); return ParseType(Expr); }(); \
                const ParseType y = [&] { const Cls &o = static_cast<const Cls &>(b); return ParseType(Expr); }(); \
                return x == y;                                                                      \
            },                                                                                      \
            [](TrepComponent &c, const TrepComponent &source) {                                     \
                const ParseType v = [&] { const Cls &o = static_cast<const Cls &>(source); return ParseType(Expr); }(); \
                [[maybe_unused]] Cls &o = static_cast<Cls &>(c);                                    \
                Apply;                                                                              \
            }}

inline bool parseString(const QString &s, QString &v) { v = s; return true; }
inline QString fmtString(const QString &s) { return s; }
inline QString fmtColor(TColor c) { return fmtInt(qint64(c)); }
bool parseColor(const QString &s, TColor &v);

#define REP_FLOAT(Cls, Name, Expr, Apply) REP_PROP(Cls, Name, fmtFloat, double, parseFloat, Expr, Apply)
#define REP_BOOL(Cls, Name, Expr, Apply) REP_PROP(Cls, Name, fmtBool, bool, parseBool, Expr, Apply)
#define REP_INT(Cls, Name, Expr, Apply) REP_PROP(Cls, Name, fmtInt, int, parseInt, Expr, Apply)
#define REP_STR(Cls, Name, Expr, Apply) REP_PROP(Cls, Name, fmtString, QString, parseString, Expr, Apply)
#define REP_COLOR(Cls, Name, Expr, Apply) REP_PROP(Cls, Name, fmtColor, TColor, parseColor, Expr, Apply)
#define REP_ENUM(Cls, Name, Names, Type, Expr, Apply)                                              \
    REP_PROP(Cls, Name, [](int x) { return fmtEnum(x, Names); }, int,                               \
             [](const QString &s, int &x) { return parseEnum(s, Names, x); }, int(Expr),           \
             { [[maybe_unused]] Type e = Type(v); Apply; })
#define REP_SET(Cls, Name, Names, Expr, Apply)                                                     \
    REP_PROP(Cls, Name, [](int x) { return fmtSet(x, Names); }, int,                                \
             [](const QString &s, int &x) { return parseSet(s, Names, x); }, int(Expr), Apply)

} // namespace rep

#include "cli/race_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <map>

namespace qv::cli {

namespace {

// Decodes one character at bytes[i] and moves i past it; false (i unchanged)
// when the bytes there are not well-formed UTF-8.
bool DecodeUtf8(std::string_view bytes, std::size_t& i, char32_t& cp) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char b = at(i);
    if (b < 0x80) {
        cp = b;
        ++i;
        return true;
    }
    int more = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the first continuation byte
    if (b >= 0xC2 && b <= 0xDF) {
        more = 1;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        more = 2;
        cp = b & 0x0F;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        more = 3;
        cp = b & 0x07;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return false;
    }
    if (bytes.size() - i <= static_cast<std::size_t>(more)) return false;
    for (int k = 1; k <= more; ++k) {
        const unsigned char c = at(i + k);
        const unsigned char lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
        if (c < lo || c > hi) return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<std::size_t>(more) + 1;
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendEscape(std::string& out, char32_t unit) {
    static const char hex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex[(unit >> shift) & 0xF];
}

bool NeedsEscape(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029 || cp == 0xFEFF ||
           (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE;
}

std::string Hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

// ---- Writing -------------------------------------------------------------

}  // namespace

std::map<std::string, int> CountLineEnds(const RaceFile& race) {
    std::map<std::string, int> count;
    ++count[race.descriptionEnd];
    ++count[race.nameEnd];
    for (const RaceFileModel& m : race.models) {
        ++count[m.nameEnd];
        ++count[m.pictureFileEnd];
    }
    for (const RaceFileWeapon& w : race.weapons) ++count[w.nameEnd];
    return count;
}

namespace {

// The end most lines have; on a tie CR LF, then LF, then the smallest.
std::string CommonEnd(const RaceFile& race) {
    std::map<std::string, int> count = CountLineEnds(race);
    std::string best = "\r\n";
    int bestCount = count.count(best) ? count[best] : 0;
    if (count.count("\n") && count["\n"] > bestCount) {
        best = "\n";
        bestCount = count["\n"];
    }
    for (const auto& [end, n] : count)
        if (n > bestCount) {
            best = end;
            bestCount = n;
        }
    return best;
}

class Writer {
public:
    explicit Writer(const RaceFile& race) : race_(race) {
        latin1_ = !IsUtf8(race.description) || !IsUtf8(race.name);
        for (const RaceFileModel& m : race.models)
            latin1_ = latin1_ || !IsUtf8(m.name) || !IsUtf8(m.pictureFile);
        for (const RaceFileWeapon& w : race.weapons) latin1_ = latin1_ || !IsUtf8(w.name);
        end_ = CommonEnd(race);
    }

    std::string write() {
        std::string out = "{\n";
        out += "  \"name\": " + text(race_.name) + ",\n";
        out += "  \"description\": " + text(race_.description) + ",\n";
        if (end_ != "\r\n") out += "  \"lineEnd\": " + ending(end_) + ",\n";
        if (latin1_) out += "  \"encoding\": \"latin1\",\n";
        const std::string ends =
            lineEnds({{"description", &race_.descriptionEnd}, {"name", &race_.nameEnd}});
        if (!ends.empty()) out += "  \"lineEnds\": " + ends + ",\n";

        out += "  \"shipModels\": [";
        for (std::size_t i = 0; i < race_.models.size(); ++i) {
            const RaceFileModel& m = race_.models[i];
            out += i == 0 ? "\n" : ",\n";
            out += "    { \"name\": " + text(m.name) + ", \"pictureFile\": " + text(m.pictureFile) +
                   ", \"speed\": " + std::to_string(m.speed) + ", \"defence\": " + std::to_string(m.defence) +
                   ", \"survey\": " + std::to_string(m.survey) + ", \"hold\": " + std::to_string(m.hold) +
                   ", \"cost\": " + std::to_string(m.cost);
            const std::string own = lineEnds({{"name", &m.nameEnd}, {"pictureFile", &m.pictureFileEnd}});
            if (!own.empty()) out += ", \"lineEnds\": " + own;
            out += " }";
        }
        out += race_.models.empty() ? "],\n" : "\n  ],\n";

        out += "  \"weapons\": [";
        for (std::size_t i = 0; i < race_.weapons.size(); ++i) {
            const RaceFileWeapon& w = race_.weapons[i];
            out += i == 0 ? "\n" : ",\n";
            out += "    { \"name\": " + text(w.name) + ", \"range\": " + std::to_string(w.range) +
                   ", \"minDamage\": " + std::to_string(w.minDamage) +
                   ", \"maxDamage\": " + std::to_string(w.maxDamage) + ", \"cost\": " + std::to_string(w.cost);
            const std::string own = lineEnds({{"name", &w.nameEnd}});
            if (!own.empty()) out += ", \"lineEnds\": " + own;
            out += " }";
        }
        out += race_.weapons.empty() ? "]" : "\n  ]";

        if (!race_.trailing.empty()) out += ",\n  \"trailingBytes\": \"" + Hex(race_.trailing) + "\"";
        out += "\n}\n";
        return out;
    }

private:
    std::string text(const std::string& bytes) const {
        return JsonString(latin1_ ? Latin1ToUtf8(bytes) : bytes);
    }

    static std::string ending(const std::string& end) { return JsonString(Latin1ToUtf8(end)); }

    // {"field": "end", ...} for the lines whose end is not the common one;
    // empty when there is none.
    std::string lineEnds(std::initializer_list<std::pair<const char*, const std::string*>> lines) const {
        std::string out;
        for (const auto& [field, end] : lines) {
            if (*end == end_) continue;
            out += out.empty() ? "{ " : ", ";
            out += "\"" + std::string(field) + "\": " + ending(*end);
        }
        if (!out.empty()) out += " }";
        return out;
    }

    const RaceFile& race_;
    bool latin1_ = false;
    std::string end_;
};

// ---- Reading -------------------------------------------------------------

struct SourceError {
    std::string reason;
};

[[noreturn]] void Fail(std::string reason) { throw SourceError{std::move(reason)}; }

std::string Quoted(const QString& key) { return "\"" + key.toStdString() + "\""; }

std::string TypeName(const QJsonValue& v) {
    switch (v.type()) {
        case QJsonValue::Null: return "null";
        case QJsonValue::Bool: return v.toBool() ? "true" : "false";
        case QJsonValue::Double: return "a number";
        case QJsonValue::String: return "a string";
        case QJsonValue::Array: return "an array";
        case QJsonValue::Object: return "an object";
        default: return "nothing";
    }
}

// "line 3, column 7" of a byte offset.
std::string Position(std::string_view json, qsizetype offset) {
    int line = 1, column = 1;
    for (qsizetype i = 0; i < offset && i < static_cast<qsizetype>(json.size()); ++i) {
        if (json[static_cast<std::size_t>(i)] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(json[static_cast<std::size_t>(i)]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

class Reader {
public:
    void read(const QJsonObject& top, RaceFile& race) {
        const std::string where = "at the top level";
        checkKeys(top, {"name", "description", "lineEnd", "encoding", "lineEnds", "shipModels", "weapons",
                        "trailingBytes"},
                  where);
        if (top.contains("encoding")) {
            const QJsonValue v = top.value("encoding");
            if (!v.isString() || (v.toString() != "latin1" && v.toString() != "utf-8"))
                Fail("\"encoding\" must be \"latin1\" or \"utf-8\"");
            latin1_ = v.toString() == "latin1";
        }
        if (top.contains("lineEnd")) end_ = ending(top.value("lineEnd"), "\"lineEnd\"");
        race.name = text(top, "name", where);
        race.description = text(top, "description", where);
        lineEnds(top, where, {{"description", &race.descriptionEnd}, {"name", &race.nameEnd}});

        const QJsonArray models = array(top, "shipModels");
        race.models.resize(static_cast<std::size_t>(models.size()));
        for (qsizetype i = 0; i < models.size(); ++i) {
            const std::string at = "in ship model " + std::to_string(i + 1);
            if (!models[i].isObject())
                Fail("ship model " + std::to_string(i + 1) + " must be an object, not " + TypeName(models[i]));
            const QJsonObject o = models[i].toObject();
            RaceFileModel& m = race.models[static_cast<std::size_t>(i)];
            checkKeys(o, {"name", "pictureFile", "speed", "defence", "survey", "hold", "cost", "lineEnds"}, at);
            m.name = text(o, "name", at);
            m.pictureFile = text(o, "pictureFile", at);
            m.speed = number(o, "speed", at);
            m.defence = number(o, "defence", at);
            m.survey = number(o, "survey", at);
            m.hold = number(o, "hold", at);
            m.cost = number(o, "cost", at);
            lineEnds(o, at, {{"name", &m.nameEnd}, {"pictureFile", &m.pictureFileEnd}});
        }

        const QJsonArray weapons = array(top, "weapons");
        race.weapons.resize(static_cast<std::size_t>(weapons.size()));
        for (qsizetype i = 0; i < weapons.size(); ++i) {
            const std::string at = "in weapon " + std::to_string(i + 1);
            if (!weapons[i].isObject())
                Fail("weapon " + std::to_string(i + 1) + " must be an object, not " + TypeName(weapons[i]));
            const QJsonObject o = weapons[i].toObject();
            RaceFileWeapon& w = race.weapons[static_cast<std::size_t>(i)];
            checkKeys(o, {"name", "range", "minDamage", "maxDamage", "cost", "lineEnds"}, at);
            w.name = text(o, "name", at);
            w.range = number(o, "range", at);
            w.minDamage = number(o, "minDamage", at);
            w.maxDamage = number(o, "maxDamage", at);
            w.cost = number(o, "cost", at);
            lineEnds(o, at, {{"name", &w.nameEnd}});
        }

        if (top.contains("trailingBytes")) race.trailing = hexBytes(top.value("trailingBytes"));
    }

private:
    static void checkKeys(const QJsonObject& o, std::initializer_list<const char*> allowed,
                          const std::string& where) {
        for (const QString& key : o.keys()) {
            bool known = false;
            for (const char* name : allowed) known = known || key == QLatin1String(name);
            if (!known) Fail("unknown key " + Quoted(key) + " " + where);
        }
    }

    static QJsonValue required(const QJsonObject& o, const char* key, const std::string& where) {
        if (!o.contains(key)) Fail("\"" + std::string(key) + "\" is missing " + where);
        return o.value(key);
    }

    static QJsonArray array(const QJsonObject& o, const char* key) {
        const QJsonValue v = required(o, key, "at the top level");
        if (!v.isArray()) Fail("\"" + std::string(key) + "\" must be an array, not " + TypeName(v));
        return v.toArray();
    }

    static std::int32_t number(const QJsonObject& o, const char* key, const std::string& where) {
        const QJsonValue v = required(o, key, where);
        const std::string what = "\"" + std::string(key) + "\" " + where;
        if (!v.isDouble()) Fail(what + " must be a number, not " + TypeName(v));
        const double d = v.toDouble();
        if (d != std::floor(d)) Fail(what + " must be a whole number, not " + QString::number(d, 'g', 17).toStdString());
        if (d < std::numeric_limits<std::int32_t>::min() || d > std::numeric_limits<std::int32_t>::max())
            Fail(what + " is " + QString::number(d, 'g', 17).toStdString() +
                 ", outside the 32-bit range -2147483648..2147483647");
        return static_cast<std::int32_t>(d);
    }

    // The bytes of a text: UTF-8, or one byte per character in Latin-1.
    std::string bytes(const QString& s, const std::string& what) const {
        std::string out;
        for (qsizetype i = 0; i < s.size(); ++i) {
            const char16_t u = s[i].unicode();
            if (latin1_) {
                if (u > 0xFF) {
                    char buf[16];
                    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(u));
                    Fail(what + " holds " + buf + ", which Latin-1 cannot hold");
                }
                out += static_cast<char>(u);
            } else if (QChar::isHighSurrogate(u) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
                AppendUtf8(out, QChar::surrogateToUcs4(u, s[i + 1].unicode()));
                ++i;
            } else if (QChar::isSurrogate(u)) {
                Fail(what + " holds an unpaired UTF-16 surrogate");
            } else {
                AppendUtf8(out, u);
            }
        }
        return out;
    }

    std::string text(const QJsonObject& o, const char* key, const std::string& where) const {
        const QJsonValue v = required(o, key, where);
        const std::string what = "\"" + std::string(key) + "\" " + where;
        if (!v.isString()) Fail(what + " must be a string, not " + TypeName(v));
        return bytes(v.toString(), what);
    }

    static std::string ending(const QJsonValue& v, const std::string& what) {
        const std::string rule = R"( must be "\n", "\r\n", or "\r" followed by one character up to U+00FF)";
        if (!v.isString()) Fail(what + rule);
        const QString s = v.toString();
        std::string end;
        for (QChar c : s) {
            if (c.unicode() > 0xFF) Fail(what + rule);
            end += static_cast<char>(c.unicode());
        }
        if (end != "\n" && !(end.size() == 2 && end[0] == '\r')) Fail(what + rule);
        return end;
    }

    // Every line of the object gets the common end, then its "lineEnds" entry.
    void lineEnds(const QJsonObject& o, const std::string& where,
                  std::initializer_list<std::pair<const char*, std::string*>> lines) const {
        for (const auto& line : lines) *line.second = end_;
        if (!o.contains("lineEnds")) return;
        const QJsonValue v = o.value("lineEnds");
        if (!v.isObject()) Fail("\"lineEnds\" " + where + " must be an object, not " + TypeName(v));
        const QJsonObject ends = v.toObject();
        for (const QString& key : ends.keys()) {
            bool known = false;
            for (const auto& [field, end] : lines) {
                if (key != QLatin1String(field)) continue;
                known = true;
                *end = ending(ends.value(key), "\"lineEnds\" entry " + Quoted(key) + " " + where);
            }
            if (!known) Fail("\"lineEnds\" " + where + " names " + Quoted(key) + ", which is not one of its lines");
        }
    }

    static std::string hexBytes(const QJsonValue& v) {
        const std::string rule = "\"trailingBytes\" must be a string of hexadecimal digit pairs";
        if (!v.isString()) Fail(rule + ", not " + TypeName(v));
        const QString s = v.toString();
        if (s.size() % 2 != 0) Fail(rule + " (it has an odd number of digits)");
        const auto digit = [&](QChar c) -> int {
            const char16_t u = c.unicode();
            if (u >= '0' && u <= '9') return u - '0';
            if (u >= 'a' && u <= 'f') return u - 'a' + 10;
            if (u >= 'A' && u <= 'F') return u - 'A' + 10;
            Fail(rule);
        };
        std::string out;
        for (qsizetype i = 0; i < s.size(); i += 2) out += static_cast<char>(digit(s[i]) * 16 + digit(s[i + 1]));
        return out;
    }

    bool latin1_ = false;
    std::string end_ = "\r\n";
};

}  // namespace

bool IsUtf8(std::string_view bytes) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();)
        if (!DecodeUtf8(bytes, i, cp)) return false;
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (unsigned char b : bytes) AppendUtf8(out, b);
    return out;
}

std::string TextAsUtf8(std::string_view bytes) {
    return IsUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes);
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, i, cp)) {  // not UTF-8 after all: that byte as Latin-1
            cp = static_cast<unsigned char>(utf8[i]);
            ++i;
        }
        switch (cp) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\b': out += "\\b"; continue;
            case '\f': out += "\\f"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (NeedsEscape(cp)) {
            if (cp >= 0x10000) {
                AppendEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
                AppendEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                AppendEscape(out, cp);
            }
        } else if (cp >= 0x80 && i - start == 1) {
            AppendUtf8(out, cp);
        } else {
            out.append(utf8.substr(start, i - start));
        }
    }
    return out + "\"";
}

std::string RaceToJson(const RaceFile& race) { return Writer(race).write(); }

bool RaceFromJson(std::string_view json, RaceFile& out, std::string& error) {
    out = RaceFile{};
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(json.data(), static_cast<qsizetype>(json.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = "invalid JSON at " + Position(json, parseError.offset) + ": " +
                parseError.errorString().toStdString();
        return false;
    }
    if (!doc.isObject()) {
        error = "the source must be a JSON object";
        return false;
    }
    try {
        Reader().read(doc.object(), out);
    } catch (const SourceError& e) {
        out = RaceFile{};
        error = e.reason;
        return false;
    }
    return true;
}

}  // namespace qv::cli

#include "format/QtRegional.h"

#include <QLocale>
#include <QString>

// Qt's date and time pictures (d M y H h m s z AP t, quoted text in '') are rewritten
// into this program's tokens (d m y h n s z AMPM, quoted text in ""), with the locale's
// date or time separator standing as '/' or ':' so it comes from the settings.

namespace {

bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// The separator as one ASCII character, or `fallback` when it is longer or not ASCII.
char AsciiOr(const QString& text, char fallback) {
    if (text.size() == 1 && text[0].unicode() > 0x20 && text[0].unicode() < 0x7F) {
        return static_cast<char>(text[0].unicode());
    }
    return fallback;
}

int RunLength(const QString& s, qsizetype i) {
    qsizetype j = i;
    while (j < s.size() && s[j] == s[i]) {
        ++j;
    }
    return static_cast<int>(j - i);
}

// Literal text, quoted so that none of it is read as a token.
std::string Quoted(const QString& text) {
    if (text.isEmpty()) {
        return "";
    }
    const char quote = text.contains(QLatin1Char('"')) ? '\'' : '"';
    return quote + text.toStdString() + quote;
}

// The first ASCII punctuation outside quotes: the locale's separator. Marks such as the
// right-to-left mark are skipped, so they stay literal text around the separator.
QChar FirstSeparator(const QString& qtPicture) {
    bool quoted = false;
    for (QChar c : qtPicture) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && !IsAsciiLetter(c) && c.unicode() > 0x20 && c.unicode() < 0x7F) {
            return c;
        }
    }
    return QChar();
}

class TPictureTranslator {
public:
    TPictureTranslator(const QString& qtPicture, QChar separator, char placeholder, bool monthNames)
        : In(qtPicture), Separator(separator), Placeholder(placeholder), MonthNames(monthNames) {}

    bool LowerAmPm = false; // Qt's "ap" shows the AM/PM texts in lower case

    std::string Run() {
        qsizetype i = 0;
        while (i < In.size()) {
            i = Step(i);
        }
        return Tidy(Out);
    }

private:
    const QString& In;
    QChar Separator;
    char Placeholder;
    bool MonthNames;
    std::string Out;

    qsizetype Step(qsizetype i) {
        const QChar c = In[i];
        if (c == QLatin1Char('\'')) {
            return QuotedText(i);
        }
        if (IsAsciiLetter(c)) {
            const int run = RunLength(In, i);
            Field(c.toLatin1(), run, i);
            return i + run;
        }
        if (c == Separator && Separator.unicode() < 0x7F) {
            Out += Placeholder;
        } else if (c.unicode() < 0x7F && c != QLatin1Char('/') && c != QLatin1Char(':') &&
                   c != QLatin1Char('"')) {
            Out += static_cast<char>(c.unicode());
        } else {
            Out += Quoted(QString(c));
        }
        return i + 1;
    }

    // Qt quotes with '...', and '' is a literal quote.
    qsizetype QuotedText(qsizetype i) {
        QString text;
        qsizetype j = i + 1;
        while (j < In.size()) {
            if (In[j] == QLatin1Char('\'')) {
                if (j + 1 < In.size() && In[j + 1] == QLatin1Char('\'')) {
                    text += QLatin1Char('\'');
                    j += 2;
                    continue;
                }
                break;
            }
            text += In[j++];
        }
        if (j == i + 1 && j < In.size()) {
            text = QStringLiteral("'"); // '' alone is one quote character
        }
        Out += Quoted(text);
        return j + 1;
    }

    static std::string Repeat(char c, int count) { return std::string(count, c); }

    void Field(char letter, int run, qsizetype at) {
        switch (letter) {
        case 'd':
            Out += Repeat('d', std::min(run, 4));
            break;
        case 'M':
            Out +=
                run <= 2 ? Repeat('m', run) : (MonthNames ? Repeat('m', std::min(run, 4)) : "mm");
            break;
        case 'y':
            Out += run <= 2 ? "yy" : "yyyy";
            break;
        case 'h':
        case 'H':
            Out += run >= 2 ? "hh" : "h";
            break;
        case 'm':
            Out += run >= 2 ? "nn" : "n";
            break;
        case 's':
            Out += run >= 2 ? "ss" : "s";
            break;
        case 'z':
            Out += run >= 3 ? "zzz" : "z";
            break;
        case 'a':
        case 'A':
            Out += "AMPM"; // "AP", "ap", "A" or "a": the locale's AM/PM texts
            LowerAmPm = letter == 'a';
            break;
        case 'p':
        case 'P':
            if (at == 0 || (In[at - 1] != QLatin1Char('a') && In[at - 1] != QLatin1Char('A'))) {
                Out += Quoted(In.mid(at, run));
            }
            break;
        case 't':
            break; // time zone: not shown
        default:
            Out += Quoted(In.mid(at, run));
        }
    }

    // Removes what a dropped time zone leaves behind: blanks at the ends, empty brackets.
    static std::string Tidy(std::string s) {
        for (auto pos = s.find("()"); pos != std::string::npos; pos = s.find("()")) {
            s.erase(pos, 2);
        }
        const auto first = s.find_first_not_of(' ');
        if (first == std::string::npos) {
            return "";
        }
        const auto last = s.find_last_not_of(' ');
        return s.substr(first, last - first + 1);
    }
};

char SeparatorChar(QChar separator, char fallback) {
    const ushort u = separator.unicode();
    return u > 0x20 && u < 0x7F ? static_cast<char>(u) : fallback;
}

} // namespace

TRegionalSettings RegionalSettingsFromLocale(const QLocale& locale) {
    TRegionalSettings rs;
    rs.DecimalSeparator = AsciiOr(locale.decimalPoint(), '.');
    rs.ThousandSeparator = AsciiOr(locale.groupSeparator(), ' ');
    if (rs.ThousandSeparator == rs.DecimalSeparator) {
        rs.ThousandSeparator = rs.DecimalSeparator == ',' ? '.' : ',';
    }

    const QString date = locale.dateFormat(QLocale::ShortFormat);
    const QChar dateSeparator = FirstSeparator(date);
    rs.DateSeparator = SeparatorChar(dateSeparator, '/');
    // Month names are written in English only; other languages show the month's number.
    const bool english = locale.language() == QLocale::English || locale.language() == QLocale::C;
    rs.ShortDateFormat = TPictureTranslator(date, dateSeparator, '/', english).Run();

    const QString time = locale.timeFormat(QLocale::LongFormat);
    const QChar timeSeparator = FirstSeparator(time);
    rs.TimeSeparator = SeparatorChar(timeSeparator, ':');
    TPictureTranslator timeTranslator(time, timeSeparator, ':', english);
    rs.LongTimeFormat = timeTranslator.Run();

    const QString am = locale.amText();
    const QString pm = locale.pmText();
    rs.TimeAMString = (timeTranslator.LowerAmPm ? am.toLower() : am).toStdString();
    rs.TimePMString = (timeTranslator.LowerAmPm ? pm.toLower() : pm).toStdString();
    return rs;
}

TRegionalSettings RegionalSettingsFromSystemLocale() {
    return RegionalSettingsFromLocale(QLocale::system());
}

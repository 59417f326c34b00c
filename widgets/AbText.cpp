#include "AbText.h"

TPoint AbTextOrigin(int X, int Y, int tw, int th, toPos Pos) {
    int x = X, y = Y;
    switch (Pos) {
    case toTopCenter:
    case toMidCenter:
    case toBotCenter:
        x = X - tw / 2;
        break;
    case toTopRight:
    case toMidRight:
    case toBotRight:
        x = X - tw;
        break;
    default:
        break;
    }
    switch (Pos) {
    case toMidLeft:
    case toMidCenter:
    case toMidRight:
        y = Y - th / 2;
        break;
    case toBotLeft:
    case toBotCenter:
    case toBotRight:
        y = Y - th;
        break;
    default:
        break;
    }
    return {x, y};
}

std::vector<TAbTextLine> AbTextLines(int Y, int lh, const QString& Text, toPos Pos) {
    const int n = int(Text.count(QLatin1Char('|')));
    int y = Y;
    if (Pos == toMidLeft || Pos == toMidCenter || Pos == toMidRight)
        y = Y - (n * lh) / 2;
    else if (Pos == toBotLeft || Pos == toBotCenter || Pos == toBotRight)
        y = Y - n * lh;
    std::vector<TAbTextLine> lines;
    QString rest = Text;
    while (!rest.isEmpty()) {
        const qsizetype bar = rest.indexOf(QLatin1Char('|'));
        lines.push_back({bar < 0 ? rest : rest.left(bar), y});
        rest = bar < 0 ? QString() : rest.mid(bar + 1);
        y += lh;
    }
    return lines;
}

void AbTextOut(TAbCanvas& canvas, int X, int Y, const QString& Text, toPos Pos) {
    const TPoint o = AbTextOrigin(X, Y, canvas.TextWidth(Text), canvas.TextHeight(Text), Pos);
    canvas.TextOut(o.X, o.Y, Text);
}

void AbTextOutMultiLine(TAbCanvas& canvas, int X, int Y, int LineOffset, const QString& Text,
                        toPos Pos) {
    const int lh = canvas.TextHeight(QStringLiteral("X")) + LineOffset;
    for (const TAbTextLine& line : AbTextLines(Y, lh, Text, Pos))
        AbTextOut(canvas, X, line.Y, line.Text, Pos);
}

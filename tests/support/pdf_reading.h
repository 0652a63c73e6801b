#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <vector>

// Reads printed PDF files back with poppler's command-line tools.

namespace kelvaro {

inline QString runTool(const QString& tool, const QStringList& arguments,
                       const QByteArray& input = {}) {
    QProcess process;
    process.start(tool, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Qt's PDF writer names a glyph that the font shares between an ideograph
// and its radical (小 and ⼩) by the radical; on paper both look the same.
inline QString withoutRadicals(QString text) {
    for (QChar& c : text) {
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
            c = QString(c).normalized(QString::NormalizationForm_KC).at(0);
    }
    return text;
}

// Each page's lines as pdftotext lays them out, runs of blanks made one and
// the empty lines after the last text left off. The file goes in on standard
// input, so that a pdftotext of another system (Linux's, under Wine) reads it.
inline std::vector<QStringList> pdfPages(const QString& pdf) {
    std::vector<QStringList> pages;
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly)) return pages;
    const QString text = withoutRadicals(
        runTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                 QStringLiteral("fd://0"), QStringLiteral("-")},
                file.readAll()));
    QStringList pageTexts = text.split(QLatin1Char('\f'));
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty()) pageTexts.removeLast();
    for (const QString& pageText : pageTexts) {
        QStringList lines;
        for (const QString& line : pageText.split(QLatin1Char('\n')))
            lines.append(line.simplified());
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        pages.push_back(lines);
    }
    return pages;
}

} // namespace kelvaro

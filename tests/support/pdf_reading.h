#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

// Reads printed PDF files back with poppler's command-line tools.

namespace kelvaro {

#ifdef _WIN32
// Under Wine a Linux program started from a Windows one keeps Wine's own
// standard input and output, and cannot be waited for: Linux's pdftotext
// reads and writes files named by their Linux paths instead, through a shell
// that gives its output its name only when it is complete.
inline QString linuxPath(const QString& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
    if (!unixName) return {};
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    char* name = unixName(wide.c_str());
    if (!name) return {};
    const QString result = QString::fromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// `mode` is pdftotext's: -layout for lines, -bbox for each word's box.
inline QString pdfText(const QString& pdf, const QString& mode = QStringLiteral("-layout")) {
    QTemporaryDir work;
    const QString out = work.filePath(QStringLiteral("pages.txt"));
    const QString linuxPdf = linuxPath(pdf), linuxOut = linuxPath(out);
    if (linuxPdf.isEmpty() || linuxOut.isEmpty()) return {};
    const QString script =
        QStringLiteral("pdftotext \"$3\" -enc UTF-8 \"$1\" \"$2.part\" && mv \"$2.part\" \"$2\"");
    if (!QProcess::startDetached(
            QStringLiteral("Z:/bin/sh"),
            {QStringLiteral("-c"), script, QStringLiteral("sh"), linuxPdf, linuxOut, mode}))
        return {};
    QFile file(out);
    for (QDeadlineTimer deadline(60000); !file.exists() && !deadline.hasExpired();)
        QThread::msleep(20);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}
#else
inline QString pdfText(const QString& pdf, const QString& mode = QStringLiteral("-layout")) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {mode, QStringLiteral("-enc"),
                                                QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}
#endif

// Qt's PDF writer names a glyph that the font shares between an ideograph
// and its radical (小 and ⼩) by the radical; on paper both look the same.
inline QString withoutRadicals(QString text) {
    for (QChar& c : text)
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
            c = QString(c).normalized(QString::NormalizationForm_KC).at(0);
    return text;
}

// Each page's lines as pdftotext lays them out, runs of blanks made one and
// the empty lines after the last text left off.
inline std::vector<QStringList> pdfPages(const QString& pdf) {
    std::vector<QStringList> pages;
    const QString text = withoutRadicals(pdfText(pdf));
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

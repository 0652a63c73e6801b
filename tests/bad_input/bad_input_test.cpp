// What a careless or hostile user types, end to end: empty fields, blanks,
// huge and tiny numbers, "NaN" and "Inf", 10,000-character texts, control,
// right-to-left and emoji characters, model names that GBK cannot hold or
// that name no file, commas and quotes, in the fields of PuTong, ChaDong
// and Form2. Each row gives the list, the messages and the catalogue files
// that it must leave; nothing may crash or hang.
#include "catalogue/add_machine_window.h"
#include "differential/chadong_window.h"
#include "ordinary/putong_window.h"
#include "printing/recording_print_backend.h"
#include "support/folder_state.h"
#include "support/window_driver.h"
#include "widgets/message_sink.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

using namespace kelvaro;

namespace {

const QString kMissing = QStringLiteral("请输入数值");
const QString kHeading = QStringLiteral("     误差最小的挂轮组及误差为");
const QString kNoSet = QStringLiteral(" 0      0      0      0        1E-05");
const QString kTenThousand(10000, QLatin1Char('x'));

QString repeated(const QString& text, int count) {
    return text.repeated(count);
}

void setFields(QWidget* window, const QStringList& names, const QStringList& texts) {
    for (int i = 0; i < names.size(); ++i)
        window->findChild<QLineEdit*>(names[i])->setText(texts[i]);
}

void click(QWidget* window, const char* button) {
    QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
}

QStringList listItems(QWidget* window) {
    QStringList items;
    const QAbstractItemModel* model = window->findChild<QListView*>("jsjgp")->model();
    for (int row = 0; row < model->rowCount(); ++row)
        items << model->index(row, 0).data().toString();
    return items;
}

bool activate(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The differential window's catalogue: M, ZSTZ and C630 with the gears 20
// to 60, and two entries made by hand that name no usable file.
const std::map<std::string, std::string> kCatalogue = {
    {"jixing.dat", "M\r\nZSTZ\r\nC630\r\n..\r\n../M\r\n"},
    {"M.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"},
    {"ZSTZ.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"},
    {"C630.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"},
};

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { shown.clear(); }

    void putong_data();
    void putong();
    void chadong_data();
    void chadong();
    void form2_data();
    void form2();

  private:
    driver::MessageRecorder recorder;
    QStringList& shown = recorder.texts; // the messages, in order
    RecordingPrintBackend printers;
};

void BadInputTest::putong_data() {
    QTest::addColumn<QStringList>("fields"); // ratio, tolerance, smallest, largest
    QTest::addColumn<QStringList>("items");

    const QStringList noSets = {kHeading, kNoSet};
    const QStringList fiveSets = {" 20    24    20    20      0", " 21    24    20    21      0",
                                  " 22    24    20    22      0", " 23    24    20    23      0",
                                  " 24    24    20    24      0", kHeading,
                                  " 20    24    20    20      0"};
    auto row = [](const char* name, const QString& ratio, const QString& tolerance,
                  const QString& smallest, const QString& largest, const QStringList& items) {
        QTest::newRow(name) << QStringList{ratio, tolerance, smallest, largest} << items;
    };
    row("empty fields", "", "", "", "", {kMissing});
    row("blanks", "   ", "0.00001", "20", "24", noSets);
    row("ratio 1E308", "1E308", "0.00001", "20", "24", noSets);
    row("ratio 1E-308", "1E-308", "0.00001", "20", "24", noSets);
    row("ratio beyond a double", "1E999", "0.00001", "20", "24", {kMissing});
    row("NaN", "NaN", "0.00001", "20", "24", noSets);
    row("-Inf", "-Inf", "0.00001", "20", "24", noSets);
    row("10,000 digits", repeated("9", 10000), "0.00001", "20", "24", {kMissing});
    row("10,000 letters", kTenThousand, "0.00001", "20", "24", noSets);
    row("10,000 blanks before", repeated(" ", 9997) + "1.2", "0.00001", "20", "24", fiveSets);
    row("tab before", "\t1.2", "0.00001", "20", "24", fiveSets);
    row("control characters",
        "\x01\x1b"
        "1.2",
        "0.00001", "20", "24", noSets);
    row("right-to-left mark", "\u202E1.2", "0.00001", "20", "24", noSets);
    row("Arabic digits", "١٫٢", "0.00001", "20", "24", noSets);
    row("emoji after", "1.2😀", "0.00001", "20", "24", fiveSets);
    row("emoji before", "😀1.2", "0.00001", "20", "24", noSets);
    row("comma", "1,2", "0.00001", "20", "21",
        {" 20    20    20    20      0", " 20    21    20    21      0",
         " 21    21    21    21      0", kHeading, " 20    20    20    20      0"});
    row("quotes", "\"1.2\"", "0.00001", "20", "24", noSets);
    row("tolerance 1E308", "1.2", "1E308", "20", "24",
        {kHeading, " 0      0      0      0        INF"});
    row("tolerance 1E-308", "1.2", "1E-308", "20", "24",
        {kHeading, " 0      0      0      0        0"});
    row("smallest 1E-308", "1.5", "0.00001", "1E-308", "3",
        {" 1      3      1      2        0", " 2      3      2      2        0",
         " 3      3      2      3        0", kHeading, " 1      3      1      2        0"});
    row("smallest -1E308", "1.2", "0.00001", "-1E308", "24", {kMissing});
    row("largest 1E308", "1.2", "0.00001", "20", "1E308", {kMissing});
}

void BadInputTest::putong() {
    QFETCH(QStringList, fields);
    QFETCH(QStringList, items);
    PuTong window(driver::context(printers, recorder));
    window.show();
    setFields(&window, {"chuandongbi", "jingdu", "zuishaochishu", "zuidachishu"}, fields);
    click(&window, "Command1");
    QCOMPARE(listItems(&window), items);
    QVERIFY(shown.isEmpty());
}

void BadInputTest::chadong_data() {
    // module, degrees, minutes, seconds, tolerance, part tooth count
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("model"); // in M, ZSTZ, C630, .., ../M
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("messages");

    const QStringList noSets = {kHeading, kNoSet};
    const QStringList twoSets = {" 31    59    40    53      5.713094E-06",
                                 " 39    39    41    43      3.840214E-06", kHeading,
                                 " 39    39    41    43      3.840214E-06"};
    auto row = [](const char* name, const QString& module, const QString& degrees,
                  const QString& minutes, const QString& tolerance, const QString& teeth, int model,
                  const QStringList& items, const QStringList& messages = {}) {
        QTest::newRow(name) << QStringList{module, degrees, minutes, "0", tolerance, teeth} << model
                            << items << messages;
    };
    row("empty module", "", "15", "0", "0.00001", "", 0, {kMissing});
    row("blank module", "   ", "15", "0", "0.00001", "", 0, {kMissing});
    row("module NaN", "NaN", "15", "0", "0.00001", "", 0, {kMissing});
    row("module Inf", "Inf", "15", "0", "0.00001", "", 0, {kMissing});
    row("module 1E-308", "1E-308", "15", "0", "0.00001", "", 0, {kMissing});
    row("module 1E308", "1E308", "15", "0", "0.00001", "", 0, noSets);
    row("degrees 1E308", "3", "1E308", "0", "0.00001", "", 0, noSets);
    row("tolerance beyond a double", "3", "15", "0", "1E999", "", 0, {kMissing});
    row("tolerance 1E-308", "3", "15", "0", "1E-308", "", 0,
        {kHeading, " 0      0      0      0        0"});
    row("10,000-digit module", "3" + repeated("0", 9999), "15", "0", "0.00001", "", 0, noSets);
    row("10,000 blanks before", repeated(" ", 9999) + "3", "15", "0", "0.00001", "", 0, twoSets);
    row("tab before", "\t3", "15", "0", "0.00001", "", 0, twoSets);
    row("control character",
        "\x01"
        "3",
        "15", "0", "0.00001", "", 0, {kMissing});
    row("right-to-left mark", "\u202E3", "15", "0", "0.00001", "", 0, {kMissing});
    row("emoji", "😀", "15", "0", "0.00001", "", 0, {kMissing});
    row("quotes", "\"3\"", "15", "0", "0.00001", "", 0, {kMissing});
    row("comma in minutes", "3", "15", "1,5", "0.00001", "", 0,
        {" 23    46    25    49      6.781842E-06", " 23    46    35    35      6.781842E-06",
         " 33    43    31    53     -2.658331E-06", " 43    47    39    60      8.52613E-06",
         " 43    47    45    52      8.52613E-06", " 46    46    49    50      6.781842E-06",
         kHeading, " 33    43    31    53     -2.658331E-06"});
    row("ZSTZ, empty tooth count", "3", "15", "0", "0.00001", "", 1, {}, {"零件齿数错误"});
    row("ZSTZ, tooth count -5", "3", "15", "0", "0.00001", "-5", 1, {}, {"零件齿数错误"});
    row("ZSTZ, tooth count Inf", "3", "15", "0", "0.00001", "Inf", 1, {}, {"零件齿数错误"});
    row("ZSTZ, tooth count 1E308", "3", "15", "0", "0.00001", "1E308", 1, noSets);
    row("C630, lathe module 0", "3", "0", "0", "0.00001", "", 2, {kMissing});
    row("C630, lathe module 1E-308", "3", "1E-308", "0", "0.00001", "", 2, {kMissing});
    row("model ..", "3", "15", "0", "0.00001", "", 3, {}, {"找不到机床文件 @/...dat"});
    row("model ../M", "3", "15", "0", "0.00001", "", 4, {}, {"机床型号“../M”不能作为文件名"});
}

void BadInputTest::chadong() {
    QFETCH(QStringList, fields);
    QFETCH(int, model);
    QFETCH(QStringList, items);
    QFETCH(QStringList, messages);
    TemporaryCatalogue dir;
    for (const auto& [name, bytes] : kCatalogue)
        dir.write(name, bytes);
    messages.replaceInStrings("@", QString::fromStdString(dir.path()));

    ChaDong window(driver::context(printers, recorder, dir.path()));
    QVERIFY(activate(&window));
    window.findChild<QComboBox*>("Combo1")->setCurrentIndex(model);
    setFields(&window,
              {"moshu", "luoxuanjiaodu", "luoxuanjiaofen", "luoxuanjiaomiao", "jingdu", "齿数"},
              fields);
    click(&window, "Command1");
    QCOMPARE(listItems(&window), items);
    QCOMPARE(shown, messages);
    QVERIFY(folderState(dir) == kCatalogue);
}

void BadInputTest::form2_data() {
    QTest::addColumn<QStringList>("fields"); // model, smallest, largest, constant, missing
    QTest::addColumn<QStringList>("messages");
    // A refused row leaves only jixing.dat ("C630") and C630.dat; an added
    // machine has its line and its file.
    QTest::addColumn<QByteArray>("listLine");
    QTest::addColumn<QString>("machineFile");
    QTest::addColumn<QByteArray>("machineBytes");

    auto refused = [](const char* name, const QStringList& fields, const QString& message) {
        QTest::newRow(name) << fields << QStringList{message} << QByteArray() << QString()
                            << QByteArray();
    };
    auto added = [](const char* name, const QStringList& fields, const QByteArray& listLine,
                    const QString& file, const QByteArray& bytes) {
        QTest::newRow(name) << fields << QStringList() << listLine << file << bytes;
    };
    const QString wrongData = "输入数据有错";
    const QString cannotStore = "机床型号中有不能保存的字符";
    const QString commaOrQuote = "机床型号中请不要包含逗号或引号";
    const QString wrongItems = "输入数据有错误,数据间用逗号隔开!!!";
    refused("empty fields", {"", "", "", "", ""}, wrongData);
    refused("blank numbers", {"M", "  ", "  ", "  ", ""}, wrongData);
    refused("blank model", {"   ", "20", "60", "10", ""}, "机床型号错");
    refused("constant NaN", {"M", "20", "60", "NaN", ""}, wrongData);
    refused("smallest Inf", {"M", "Inf", "60", "10", ""}, wrongData);
    refused("comma in a count", {"M", "20,5", "60", "10", ""}, wrongData);
    refused("control character in a count", {"M", "20\x01", "60", "10", ""}, wrongData);
    refused("emoji in the constant", {"M", "20", "60", "10😀", ""}, wrongData);
    refused("10,000-character model", {QString(10000, 'A'), "20", "60", "10", ""},
            "机床型号太长，不能作为文件名");
    refused("control character in model", {"M\x01", "20", "60", "10", ""},
            "机床型号中请不要包含控制字符");
    refused("right-to-left model", {"\u202EM", "20", "60", "10", ""}, cannotStore);
    refused("Arabic model", {"مكنة", "20", "60", "10", ""}, cannotStore);
    refused("emoji model", {"M😀", "20", "60", "10", ""}, cannotStore);
    refused("comma in model", {"Y7,150", "20", "60", "10", ""}, commaOrQuote);
    refused("quotes in model", {"\"M\"", "20", "60", "10", ""}, commaOrQuote);
    refused("quotes in missing teeth", {"M", "20", "60", "10", "\"37\""}, wrongItems);
    refused("10,000-digit missing tooth", {"M", "20", "60", "10", repeated("1", 10000)},
            wrongItems);
    refused("right-to-left missing tooth", {"M", "20", "60", "10", "\u202E37"}, wrongItems);
    QTest::newRow("model ..") << QStringList{"..", "20", "60", "10", ""}
                              << QStringList{"机床型号中请不要包函小数点", "机床型号错"}
                              << QByteArray() << QString() << QByteArray();

    added("huge and tiny counts", {"M", "1E308", "1E-308", "7", ""}, "M", "M.dat",
          "1E308\r\n1E-308\r\n 1\r\n7\r\n\r\n");
    added("10,000-character count", {"M", "20" + kTenThousand, "60", "10", "37"}, "M", "M.dat",
          "20" + kTenThousand.toLatin1() + "\r\n60\r\n 1\r\n10\r\n37\r\n");
    added("GBK model", {" 滚齿机 ", "20", "60", "10", ""}, "\xB9\xF6\xB3\xDD\xBB\xFA", "滚齿机.dat",
          "20\r\n60\r\n 1\r\n10\r\n\r\n");
    added("commas only", {"M", "20", "60", "10", ",,,"}, "M", "M.dat",
          "20\r\n60\r\n 4\r\n10\r\n\r\n\r\n\r\n\r\n");
}

void BadInputTest::form2() {
    QFETCH(QStringList, fields);
    QFETCH(QStringList, messages);
    QFETCH(QByteArray, listLine);
    QFETCH(QString, machineFile);
    QFETCH(QByteArray, machineBytes);
    TemporaryCatalogue dir;
    std::map<std::string, std::string> files = {{"jixing.dat", "C630\r\n"},
                                                {"C630.dat", "20\r\n60\r\n 1\r\n10\r\n0\r\n"}};
    for (const auto& [name, bytes] : files)
        dir.write(name, bytes);
    messages.replaceInStrings("@", QString::fromStdString(dir.path()));

    Form2 window(driver::context(printers, recorder, dir.path()), [] {});
    QVERIFY(activate(&window));
    setFields(&window, {"Text1", "Text2", "Text3", "Text4", "Text5"}, fields);
    // Confirm is clicked with the focus in Text1, which it then leaves.
    window.findChild<QLineEdit*>("Text1")->setFocus();
    click(&window, "Command2");
    QCOMPARE(shown, messages);
    QCOMPARE(window.isVisible(), !messages.isEmpty());
    if (!machineFile.isEmpty()) {
        files["jixing.dat"] += listLine.toStdString() + "\r\n";
        files[machineFile.toStdString()] = machineBytes.toStdString();
    }
    QVERIFY(folderState(dir) == files);
}

QTEST_MAIN(BadInputTest)
#include "bad_input_test.moc"

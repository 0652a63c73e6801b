// The differential window and its two catalogue dialogs over a catalogue
// that fails: a folder that cannot be written, a full disk, a disk that
// cannot be read, a list that is a folder, a machine file that is a broken
// link. Each gives its message, loses nothing, and leaves the window usable.
#include "catalogue/add_machine_window.h"
#include "catalogue/delete_machine_window.h"
#include "differential/chadong_window.h"
#include "printing/recording_print_backend.h"
#include "support/failing_file_system.h"
#include "support/folder_state.h"
#include "support/window_driver.h"
#include "widgets/message_sink.h"
#include "widgets/result_list_model.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace kelvaro;

namespace {

using Files = std::map<std::string, std::string>;
using Step = FailingFileSystem::Step;

template <typename T> T* find(const QWidget* window, const char* name) {
    T* widget = window->findChild<T*>(QString::fromUtf8(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
}

void click(const QWidget* window, const char* button) {
    QTest::mouseClick(find<QPushButton>(window, button), Qt::LeftButton);
}

void type(const QWidget* window, const char* field, const QString& text) {
    QLineEdit* edit = find<QLineEdit>(window, field);
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

const std::string kMachine = "20\r\n60\r\n 1\r\n10\r\n0\r\n";
const Files kCatalogue = {{"jixing.dat", "C630\r\nM\r\n"}, {"M.dat", kMachine}};

enum class Damage { None, ListIsFolder, MachineIsBrokenLink };
enum class Action { Open, Add, Delete, Calculate };

FailingFileSystem::Rule failingRead(const std::string& name) {
    return [name](Step step, const std::string& path, int) {
        return step == Step::Read && path.ends_with("/" + name) ? EIO : 0;
    };
}

} // namespace

class CatalogueFaultsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { messages.clear(); }

    void faultsGiveAMessageAndLoseNothing();

  private:
    driver::MessageRecorder recorder;
    QStringList& messages = recorder.texts;
};

void CatalogueFaultsWindowTest::faultsGiveAMessageAndLoseNothing() {
    const struct {
        const char* name;
        Damage damage;
        FailingFileSystem::Rule rule;
        Action action;
        QStringList messages;    // "@" stands for the folder
        bool calculates = false; // Calculate lists sets
    } rows[] = {
        {"read-only, add",
         Damage::None,
         FailingFileSystem::readOnly(EROFS),
         Action::Add,
         {"无法写入文件 @/N.dat.tmp：磁盘是只读的"}},
        {"full disk, add",
         Damage::None,
         FailingFileSystem::fullDisk(),
         Action::Add,
         {"无法写入文件 @/N.dat.tmp：磁盘空间不足"}},
        {"read-only, delete",
         Damage::None,
         FailingFileSystem::readOnly(EACCES),
         Action::Delete,
         {"无法写入文件 @/jixingb.dat：没有访问权限"}},
        {"full disk, delete",
         Damage::None,
         FailingFileSystem::fullDisk(),
         Action::Delete,
         {"无法写入文件 @/jixingb.dat：磁盘空间不足"}},
        {"read-only, calculate",
         Damage::None,
         FailingFileSystem::readOnly(EROFS),
         Action::Calculate,
         {},
         true},
        {"unreadable list",
         Damage::None,
         failingRead("jixing.dat"),
         Action::Open,
         {"无法读取文件 @/jixing.dat：读写错误"}},
        {"unreadable machine file",
         Damage::None,
         failingRead("M.dat"),
         Action::Calculate,
         {"无法读取文件 @/M.dat：读写错误"}},
        {"list a folder",
         Damage::ListIsFolder,
         nullptr,
         Action::Open,
         {"无法读取文件 @/jixing.dat：这是一个文件夹"}},
        {"list a folder, add",
         Damage::ListIsFolder,
         nullptr,
         Action::Add,
         {"无法读取文件 @/jixing.dat：这是一个文件夹"}},
        {"list a folder, delete",
         Damage::ListIsFolder,
         nullptr,
         Action::Delete,
         {"无法读取文件 @/jixing.dat：这是一个文件夹"}},
        {"broken link, calculate",
         Damage::MachineIsBrokenLink,
         nullptr,
         Action::Calculate,
         {"找不到机床文件 @/M.dat"}},
    };
    for (const auto& row : rows) {
        TemporaryCatalogue dir;
        for (const auto& [name, bytes] : kCatalogue)
            dir.write(name, bytes);
        if (row.damage == Damage::ListIsFolder) {
            std::filesystem::remove(dir.file("jixing.dat"));
            std::filesystem::create_directory(dir.file("jixing.dat"));
        } else if (row.damage == Damage::MachineIsBrokenLink) {
            std::filesystem::remove(dir.file("M.dat"));
            std::filesystem::create_symlink("gone.dat", dir.file("M.dat"));
        }
        const Files before = folderState(dir);
        QStringList expected;
        for (const QString& message : row.messages)
            expected << QString(message).replace('@', QString::fromStdString(dir.path()));

        RecordingPrintBackend printers;
        FailingFileSystem fs(row.rule);
        ChaDong chaDong(WindowContext{printers, fs, recorder, dir.path()});
        chaDong.show();
        chaDong.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&chaDong));
        if (row.action != Action::Open) messages.clear();

        QWidget* window = &chaDong;
        const char* confirm = "Command1";
        if (row.action == Action::Add) {
            find<QAction>(&chaDong, "addmachine")->trigger();
            window = chaDong.form2();
            QVERIFY(QTest::qWaitForWindowActive(window));
            for (const auto& [field, text] : {std::pair{"Text1", "N"},
                                              {"Text2", "30"},
                                              {"Text3", "90"},
                                              {"Text4", "5"},
                                              {"Text5", "37"}})
                type(window, field, text);
            confirm = "Command2";
        } else if (row.action == Action::Delete) {
            find<QAction>(&chaDong, "deletemachine")->trigger();
            window = chaDong.form3();
            QVERIFY(QTest::qWaitForWindowActive(window));
            find<QComboBox>(window, "Combo1")->setCurrentText("M");
            confirm = "Command2";
        } else if (row.action == Action::Calculate) {
            find<QComboBox>(&chaDong, "Combo1")->setCurrentIndex(1);
            find<QLineEdit>(&chaDong, "moshu")->setText("3");
            find<QLineEdit>(&chaDong, "luoxuanjiaodu")->setText("15");
        }
        if (row.action != Action::Open) click(window, confirm);

        QCOMPARE(messages, expected);
        QVERIFY2(folderState(dir) == before, row.name);
        QVERIFY(window->isVisible());
        QCOMPARE(chaDong.results().lines().size() > 2, row.calculates);

        // Usable: the fault gone, the same click goes through; a damaged
        // catalogue still lets the dialog go back and the window calculate.
        messages.clear();
        const bool damaged = row.damage != Damage::None;
        fs.setRule(nullptr);
        if (damaged && window != &chaDong) confirm = "Command1";
        if (row.action != Action::Open) click(window, confirm);
        QVERIFY2(window == &chaDong || !window->isVisible(), row.name);
        if (!damaged) QVERIFY2(messages.isEmpty(), row.name);
        if (!damaged && row.action == Action::Calculate)
            QVERIFY(chaDong.results().lines().size() > 2);
    }
}

QTEST_MAIN(CatalogueFaultsWindowTest)
#include "catalogue_faults_window_test.moc"

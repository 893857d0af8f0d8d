// Where the program keeps the person's files: beside the executable, in the
// folder --home or TOVREN_HOME names, or in the person's own folders; and an
// installation that never has a file created in it, whoever runs it.

#include "shell_fixture.h"

#include "core/install_layout.h"
#include "core/program_folders.h"
#include "data/connection.h"
#include "data/database_io.h"
#include "shell/status_panels.h"

#include <QDirIterator>
#include <QLabel>
#include <QProcess>

namespace {

using testing_support::modeOf;
using testing_support::ProgramEnded;

const QString kInstalledBin = QString::fromUtf8(tovren::layout::kBinFolder);

// Sets environment variables (a null value unsets one) while it lives.
class Environment {
public:
    explicit Environment(const std::vector<std::pair<const char*, QString>>& values)
    {
        for (const auto& [name, value] : values) {
            m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? qEnvironmentVariable(name)
                                                                       : QString());
            value.isNull() ? qunsetenv(name) : qputenv(name, value.toLocal8Bit());
        }
    }
    ~Environment()
    {
        for (const auto& [name, value] : m_saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value.toLocal8Bit());
    }

private:
    std::vector<std::pair<const char*, QString>> m_saved;
};

// The program's folders as they were, given back when the test is done.
struct SavedFolders {
    ~SavedFolders() { tovren::setProgramFolders(saved); }
    tovren::ProgramFolders saved = tovren::programFolders();
};

class FolderRuleTest : public ::testing::Test {
    SavedFolders m_saved;
};

// Every file and folder under `root`, with the size of each file.
QStringList treeOf(const QString& root)
{
    QStringList tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        tree << entry.filePath() + QLatin1Char(' ') + QString::number(entry.size());
    }
    tree.sort();
    return tree;
}

// The environment of the person's own folders: XDG variables naming
// folders under `root`, unset (HOME is `root`/home), or not absolute.
enum class Xdg { Set, Unset, Relative };

std::vector<std::pair<const char*, QString>> xdgUnder(const QString& root, Xdg xdg)
{
    const auto value = [&](const char* folder) {
        return xdg == Xdg::Set        ? root + QLatin1Char('/') + QLatin1String(folder)
               : xdg == Xdg::Relative ? QString::fromLatin1(folder)
                                      : QString();
    };
    return {{"XDG_CONFIG_HOME", value("cfg")},
            {"XDG_DATA_HOME", value("data")},
            {"XDG_STATE_HOME", value("state")},
            {"HOME", root + QStringLiteral("/home")},
            {"TOVREN_HOME", QString()}};
}

// Where each kind of executable stands under a scratch root, and where its
// shipped template lies.
QString binOf(bool installed)
{
    return installed ? kInstalledBin : QStringLiteral("/build/bin");
}
QString templateOf(bool installed)
{
    return installed ? QDir::cleanPath(kInstalledBin + QLatin1Char('/')
                                       + QString::fromUtf8(tovren::layout::kShareFromBin))
                     : binOf(false);
}

// What the rule chooses, whoever runs the program (these tests run as root,
// so "may not be written" is handed to the rule). "@" is the executable's
// folder; the other places are under the scratch root.
TEST_F(FolderRuleTest, TheRuleChoosesWhereThePersonsFilesGo)
{
    const struct {
        const char* what;
        bool installed, writable, iniBeside;
        Xdg xdg;
        const char* home;    // --home
        const char* envHome; // TOVREN_HOME
        const char* blocker; // a file where a folder must go
        const char *settings, *book, *logs, *problem;
    } rows[] = {
        {"a build that may be written", false, true, false, Xdg::Set, "", "", "", "@", "@", "@",
         ""},
        {"a read-only build with its Address.ini", false, false, true, Xdg::Set, "", "", "", "@",
         "@", "@", ""},
        {"a read-only build", false, false, false, Xdg::Set, "", "", "", "/cfg/tovren",
         "/data/tovren", "/state/tovren", ""},
        {"installed, run by root", true, true, false, Xdg::Set, "", "", "", "/cfg/tovren",
         "/data/tovren", "/state/tovren", ""},
        {"installed, no XDG variables", true, true, false, Xdg::Unset, "", "", "",
         "/home/.config/tovren", "/home/.local/share/tovren", "/home/.local/state/tovren", ""},
        {"installed, XDG variables not absolute", true, true, false, Xdg::Relative, "", "", "",
         "/home/.config/tovren", "/home/.local/share/tovren", "/home/.local/state/tovren", ""},
        {"installed with an Address.ini beside it", true, true, true, Xdg::Set, "", "", "", "@",
         "/data/tovren", "/state/tovren", ""},
        {"installed, --home", true, true, true, Xdg::Set, "/mine", "", "", "/mine", "/mine",
         "/mine", ""},
        {"installed, TOVREN_HOME", true, true, false, Xdg::Set, "", "/env", "", "/env", "/env",
         "/env", ""},
        {"--home over TOVREN_HOME", false, true, false, Xdg::Set, "/mine", "/env", "", "/mine",
         "/mine", "/mine", ""},
        {"a missing --home", true, true, false, Xdg::Set, "/none", "", "", "", "", "",
         "The folder '%1/none' does not exist."},
        {"a file in the book folder's place", true, true, false, Xdg::Set, "", "", "/data/tovren",
         "", "", "",
         "The folder '%1/data/tovren' could not be created: a file stands in its place."},
        {"a file in the place of the folder above", true, true, false, Xdg::Unset, "", "",
         "/home/.config", "", "", "",
         "The folder '%1/home/.config' could not be created: a file stands in its place."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir scratch;
        const QString root = scratch.path(), exe = root + binOf(row.installed);
        ASSERT_TRUE(QDir().mkpath(exe) && QDir().mkpath(root + templateOf(row.installed)));
        ASSERT_TRUE(testing_support::writeBytes(
            root + templateOf(row.installed) + QStringLiteral("/TND.dbx"), "template"));
        for (const char* folder : {"/mine", "/env", "/data"})
            ASSERT_TRUE(QDir().mkpath(root + QLatin1String(folder)));
        if (row.iniBeside) {
            ASSERT_TRUE(testing_support::writeBytes(exe + QStringLiteral("/Address.ini"), ""));
        }
        if (*row.blocker) {
            const QString blocker = root + QLatin1String(row.blocker);
            ASSERT_TRUE(QDir().mkpath(QFileInfo(blocker).path())
                        && testing_support::writeBytes(blocker, "mine"));
        }
        auto environment = xdgUnder(root, row.xdg);
        if (*row.envHome)
            environment.back().second = root + QLatin1String(row.envHome);
        Environment set(environment);
        const QStringList before = treeOf(root + binOf(row.installed).section('/', 0, 1));

        const QString home = *row.home ? root + QLatin1String(row.home) : QString();
        EXPECT_EQ(tovren::settleProgramFolders(home, exe, row.writable),
                  QString::fromUtf8(row.problem).replace("%1", root));
        // Nothing is created beside the executable, and nothing in anyone's way.
        EXPECT_EQ(treeOf(root + binOf(row.installed).section('/', 0, 1)), before);
        if (*row.blocker) {
            EXPECT_EQ(testing_support::readBytes(root + QLatin1String(row.blocker)), "mine");
        }
        if (*row.problem)
            continue;
        const auto place = [&](const char* where) {
            return QLatin1String(where) == QLatin1String("@") ? exe : root + QLatin1String(where);
        };
        const tovren::ProgramFolders& in = tovren::programFolders();
        EXPECT_EQ(in.settings, place(row.settings));
        EXPECT_EQ(in.book, place(row.book));
        EXPECT_EQ(in.logs, place(row.logs));
        EXPECT_EQ(in.settingsReadOnly, row.installed && row.iniBeside && !*row.home);
        // The person's own folders are made for them alone, and their first
        // book is a copy of the template, theirs alone too; a book is only
        // ever given where no Address.ini names one.
        const bool own = in.book.startsWith(root + QStringLiteral("/data"))
                         || in.book.startsWith(root + QStringLiteral("/home"));
        for (const QString& folder : {in.settings, in.book, in.logs})
            EXPECT_EQ(modeOf(folder), own && folder != exe ? 0700 : 0755) << folder.toStdString();
        const QString book = tovren::programFile(QStringLiteral("TND.dbx"));
        if (in.book != exe) {
            EXPECT_EQ(QFile::exists(book), own && !row.iniBeside);
        }
        if (own && !row.iniBeside) {
            EXPECT_EQ(testing_support::readBytes(book), "template");
            EXPECT_EQ(modeOf(book), 0600);
        }
    }
}

// The template is never copied over a book, nor where an Address.ini
// already names the person's book. A folder that is there keeps its
// permissions.
TEST_F(FolderRuleTest, ThePersonsFirstBookIsACopyOfTheTemplate)
{
    const struct {
        const char* book; // in the person's data folder before; null for none
        bool ini;         // an Address.ini in their config folder
        const char* after;
    } rows[] = {
        {nullptr, false, "template"},
        {"my book", false, "my book"},
        {nullptr, true, nullptr},
    };
    for (const auto& row : rows) {
        QTemporaryDir scratch;
        const QString root = scratch.path(), exe = root + kInstalledBin;
        const QString book = root + QStringLiteral("/data/tovren/TND.dbx");
        ASSERT_TRUE(QDir().mkpath(exe) && QDir().mkpath(root + templateOf(true))
                    && QDir().mkpath(root + QStringLiteral("/data/tovren"))
                    && QDir().mkpath(root + QStringLiteral("/cfg/tovren")));
        ASSERT_TRUE(testing_support::writeBytes(
            root + templateOf(true) + QStringLiteral("/TND.dbx"), "template"));
        if (row.book) {
            ASSERT_TRUE(testing_support::writeBytes(book, row.book));
        }
        if (row.ini) {
            ASSERT_TRUE(testing_support::writeBytes(
                root + QStringLiteral("/cfg/tovren/Address.ini"), "[DatabasePath]\n"));
        }
        Environment set(xdgUnder(root, Xdg::Set));
        EXPECT_EQ(tovren::settleProgramFolders(QString(), exe, true), QString());
        EXPECT_EQ(QFile::exists(book) ? testing_support::readBytes(book) : QByteArray(),
                  QByteArray(row.after));
        EXPECT_EQ(modeOf(root + QStringLiteral("/data/tovren")), 0755);
    }
}

// The program started from an installation: the person's first start, an
// Address.ini in their folder naming a book that is gone (the book of their
// folder stands in), and an Address.ini beside the installed program, which
// is read and never written. Help, About names the folders in use.
class InstalledStart : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(bin()) && QDir().mkpath(home() + templateOf(true)));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TOVREN_BIN_DIR "/TND.dbx"),
                                home() + templateOf(true) + QStringLiteral("/TND.dbx")));
    }
    QString bin() const { return home() + kInstalledBin; }
    QString own(const char* where) const { return home() + QLatin1String(where); }

    SavedFolders m_saved;
};

TEST_F(InstalledStart, ThePersonsFilesAreTheirsAndTheInstallationIsLeftAlone)
{
    const QString book = own("/data/tovren/TND.dbx"), elsewhere = addDatabase("elsewhere.dbx");
    const struct {
        const char* what;
        QByteArray beside, inOwn; // Address.ini beside the program, in the person's folder
        QString opened, notice;
        QByteArray ownAfter;
    } rows[] = {
        {"the first start", "", "", book, "",
         "[DatabasePath]\nData Source=" + book.toUtf8() + "\n"},
        {"a book that is gone", "", "[DatabasePath]\nData Source=/gone/TND.dbx\n", book,
         "The address book '/gone/TND.dbx' could not be opened; '" + book + "' is open instead.",
         "[DatabasePath]\nData Source=" + book.toUtf8() + "\n"},
        {"an Address.ini beside the program", "[DatabasePath]\nData Source=" + elsewhere.toUtf8(),
         "", elsewhere, "", ""},
        {"one naming a book that is gone", "[DatabasePath]\nData Source=/gone/TND.dbx\n", "", "",
         "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const char* folder : {"/cfg", "/data", "/state"})
            QDir(own(folder)).removeRecursively();
        QFile::remove(bin() + QStringLiteral("/Address.ini"));
        if (!row.beside.isEmpty()) {
            ASSERT_TRUE(
                testing_support::writeBytes(bin() + QStringLiteral("/Address.ini"), row.beside));
        }
        Environment set(xdgUnder(home(), Xdg::Set));
        ASSERT_EQ(tovren::settleProgramFolders(QString(), bin(), true), QString());
        if (!row.inOwn.isEmpty()) {
            ASSERT_TRUE(testing_support::writeBytes(own("/cfg/tovren/Address.ini"), row.inOwn));
        }
        const QStringList installation = treeOf(home() + QStringLiteral("/usr"));
        if (row.opened.isEmpty()) {
            // The specified course: no book of the person's stands in, so
            // they are asked for one.
            m_prompts.answerMessage(platform::Answer::Cancel);
            EXPECT_THROW(start(), ProgramEnded);
            EXPECT_EQ(m_prompts.messages().back().title, "Database Path");
        } else {
            start();
            EXPECT_TRUE(tovren::connectionString().contains("Data Source=" + row.opened + ";"))
                << tovren::connectionString().toStdString();
            EXPECT_EQ(m_main->stbMain()->panel(1)->text(),
                      row.notice.isEmpty() ? "Tovren address book \u00b7 Belvane" : row.notice);
            const QString settings = row.beside.isEmpty() ? own("/cfg/tovren") : bin();
            m_prompts.handleModal([&](QDialog& about) {
                EXPECT_EQ(about.findChild<QLabel*>("lblFolders")->text(),
                          "Address.ini is in " + settings + "\nTND.dbx is in " + own("/data/tovren")
                              + "\nError.log and Trace.log are in " + own("/state/tovren"));
                about.accept();
            });
            m_main->menuItem(QStringLiteral("mnuAbout"))->trigger();
        }
        const QString ini = own("/cfg/tovren/Address.ini");
        EXPECT_EQ(QFile::exists(ini) ? testing_support::readBytes(ini) : QByteArray(),
                  row.ownAfter);
        if (row.inOwn.isEmpty() && !row.ownAfter.isEmpty()) {
            EXPECT_EQ(modeOf(ini), 0600);
        }
        // The logs go to the person's state folder.
        tovren::errHandler().Push(QStringLiteral("a.b"));
        EXPECT_EQ(modeOf(own("/state/tovren/Trace.log")), 0600);
        EXPECT_EQ(treeOf(home() + QStringLiteral("/usr")), installation);
        m_main.reset();
        tovren::resetErrHandler();
    }
}

// The real tovren-book and tovren-mkdb, laid out as an installation in a
// scratch folder and run as the tests run (as root here): their files go to
// the person's folders, the one beside them is read, a folder that cannot
// be made is told with the documented exit status, and nothing is ever
// created in the installation.
class InstalledTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString parts = folder(tovren::layout::kPrivateFromBin);
        const QString share = folder(tovren::layout::kShareFromBin);
        ASSERT_TRUE(QDir().mkpath(bin()) && QDir().mkpath(parts) && QDir().mkpath(share));
        const std::pair<const char*, QString> copies[] = {
            {"tovren-book", bin()},         {"tovren-mkdb", bin()},
            {"tovren-book-records", parts}, {"libtovrenplatform.so", parts},
            {"libvostrel.so", parts},       {"TND.dbx", share},
        };
        for (const auto& [name, to] : copies)
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOVREN_BIN_DIR "/") + QLatin1String(name),
                                    to + QLatin1Char('/') + QLatin1String(name)))
                << name;
    }

    QString bin() const { return m_root.path() + kInstalledBin; }
    QString folder(const char* fromBin) const
    {
        return QDir::cleanPath(bin() + QLatin1Char('/') + QLatin1String(fromBin));
    }

    struct Ran {
        int status;
        QByteArray out, err;
    };
    Ran run(const QString& program, const QStringList& args,
            const std::vector<std::pair<const char*, QString>>& environment) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : environment)
            value.isNull() ? env.remove(QLatin1String(name)) : env.insert(name, value);
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(bin() + QLatin1Char('/') + program, args);
        EXPECT_TRUE(tool.waitForFinished(30000));
        return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
    }

    QTemporaryDir m_root;
};

TEST_F(InstalledTools, KeepThePersonsFilesOutOfTheInstallation)
{
    QTemporaryDir people;
    const QString mine = people.filePath("mine");
    QDir().mkpath(mine);
    const QByteArray elsewhere = people.filePath("elsewhere.dbx").toUtf8();
    for (const QString& book : {QString(elsewhere), QString(mine + "/TND.dbx")}) {
        records::createDatabase(book);
        data::Connection::open("Data Source=" + book)
            ->io()
            .execute("INSERT INTO Address (Name, EmlAddr) VALUES ('Mira Sen', 'mira@sen.in')");
    }
    const struct {
        const char* what;
        const char* command; // the program and its arguments, %1 the folder "mine"
        Xdg xdg;
        bool iniBeside; // an Address.ini beside the programs names elsewhere.dbx
        bool blocked;   // a file stands where the person's book folder goes
        int status;
        const char *out, *err; // what the output holds, the whole of the errors
        const char* book;      // where the person's book now is, under their root
    } rows[] = {
        {"mkdb", "tovren-mkdb", Xdg::Set, false, false, 0, "", "", "/data/tovren/TND.dbx"},
        {"list, no XDG variables", "tovren-book list", Xdg::Unset, false, false, 0, "", "",
         "/home/.local/share/tovren/TND.dbx"},
        {"query, Address.ini beside", "tovren-book query mira", Xdg::Set, true, false, 0,
         "mira@sen.in\tMira Sen", "", ""},
        {"list, Address.ini beside", "tovren-book list", Xdg::Set, true, false, 0, "Mira Sen", "",
         ""},
        {"--home", "tovren-book --home %1 list", Xdg::Set, false, false, 0, "Mira Sen", "", ""},
        {"list, blocked", "tovren-book list", Xdg::Set, false, true, 3, "",
         "tovren-book: The folder '%2/data/tovren' could not be created: a file stands in its "
         "place.\n",
         ""},
        {"mkdb, blocked", "tovren-mkdb", Xdg::Set, false, true, 1, "",
         "tovren-mkdb: The folder '%2/data/tovren' could not be created: a file stands in its "
         "place.\n",
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir person;
        const QString root = person.path();
        QFile::remove(bin() + "/Address.ini");
        if (row.iniBeside) {
            ASSERT_TRUE(testing_support::writeBytes(bin() + "/Address.ini",
                                                    "[DatabasePath]\nData Source=" + elsewhere));
        }
        if (row.blocked) {
            ASSERT_TRUE(QDir().mkpath(root + "/data")
                        && testing_support::writeBytes(root + "/data/tovren", "mine"));
        }
        const QStringList installation = treeOf(m_root.path());

        QStringList args = QString::fromUtf8(row.command).replace("%1", mine).split(' ');
        const Ran ran = run(args.takeFirst(), args, xdgUnder(root, row.xdg));
        EXPECT_EQ(ran.status, row.status) << ran.err.toStdString();
        EXPECT_TRUE(ran.out.contains(row.out)) << ran.out.toStdString();
        EXPECT_EQ(ran.err, QString::fromUtf8(row.err).replace("%2", root).toUtf8());
        EXPECT_EQ(treeOf(m_root.path()), installation);
        if (*row.book) {
            EXPECT_EQ(modeOf(root + row.book), 0600);
            EXPECT_EQ(modeOf(QFileInfo(root + row.book).path()), 0700);
        }
        if (row.blocked) {
            EXPECT_EQ(testing_support::readBytes(root + "/data/tovren"), "mine");
        }
    }
}

// A copy laid out as an installation uses its own libraries, never the
// build's: without them it does not start.
TEST_F(InstalledTools, NeverBorrowTheBuildsLibraries)
{
    ASSERT_TRUE(QFile::remove(folder(tovren::layout::kPrivateFromBin) + "/libtovrenplatform.so"));
    QTemporaryDir person;
    const Ran ran = run("tovren-mkdb", {}, xdgUnder(person.path(), Xdg::Set));
    EXPECT_NE(ran.status, 0);
    EXPECT_TRUE(ran.err.contains("libtovrenplatform.so")) << ran.err.toStdString();
}

} // namespace

#include "MainWindowFixture.h"
#include "PageTemplate.h"
#include "Settings.h"

#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <functional>

namespace {

const QString NewUrl = QStringLiteral("http://neu.example/home");

struct ExpectedPage
{
    const char* output;
    const char* urlPath; // appended to the URL when the check box is ticked
};

// Walk order: a folder's own files by name, then each subfolder's tree.
const ExpectedPage SitePages[] = {
    {"site_Moved/a.htm", "/a.htm"},
    {"site_Moved/index.html", "/index.html"},
    {"site_Moved/mit Leerzeichen/c.htm", "/mit Leerzeichen/c.htm"},
    {"site_Moved/x/y/b.html", "/x/y/b.html"},
};

} // namespace

class frmMainRun : public MainWindowFixture
{
public:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        makeSite();
        openForSite();
    }

    void openForSite()
    {
        openWindow();
        typeInto("txtVerzeichnis", path("site"));
        typeInto("txtURLneu", NewUrl);
    }

    // Back to the state after SetUp, for the next row of a table.
    void startOver()
    {
        window.reset();
        dialogs = FakeDialogs();
        QDir(path("site_Moved")).removeRecursively();
        QFile::remove(path("program/benutzer.htm"));
        QFile::copy(QStringLiteral(KELVANE_TEMPLATE_DIR "/benutzer.htm"),
                    path("program/benutzer.htm"));
        state = SharedState::forProgramFolder(programFolder().toStdString());
        openForSite();
    }

    // Pages as text, so that a mismatch shows as a readable difference.
    std::string page(const char* output) const { return readFile(output).toStdString(); }

    std::string expectedPage(const char* templateName, const QString& url) const
    {
        const std::string text =
            readFile((std::string("program/") + templateName).c_str()).toStdString();
        return PageTemplate(PageTemplate::insertCredit(text)).render(url.toStdString()) + "\r\n";
    }

    QList<QWidget*> inputs() const
    {
        return {field("txtVerzeichnis"),
                field("txtDateitypen"),
                field("txtURLneu"),
                option(0),
                option(1),
                button("chkUnterverzeichnis")};
    }

    QList<QWidget*> buttonsThatStayEnabled() const
    {
        return {button("cmdStart"), button("cmdVerzeichnis"), button("cmdHTML")};
    }

    static int enabledCount(const QList<QWidget*>& widgets)
    {
        return static_cast<int>(std::count_if(widgets.begin(), widgets.end(),
                                              [](QWidget* w) { return w->isEnabled(); }));
    }

    void expectInputsEnabled() const
    {
        EXPECT_EQ(enabledCount(inputs()), 6);
        EXPECT_EQ(enabledCount(buttonsThatStayEnabled()), 3);
    }

    // Runs the callback after the page with this number has been written.
    void afterPage(int number, std::function<void()> callback)
    {
        auto* progress = control<QProgressBar>("prgFortschritt");
        QObject::connect(progress, &QProgressBar::valueChanged, window.get(),
                         [number, callback = std::move(callback)](int value) {
                             if (value == number)
                                 callback();
                         });
    }
};

TEST_F(frmMainRun, writesEveryPageOfTheNestedSiteAndReportsTheCount)
{
    for (const bool ticked : {true, false}) {
        SCOPED_TRACE(ticked ? "with folder and file name" : "URL only");
        QDir(path("site_Moved")).removeRecursively();
        if (control<QCheckBox>("chkUnterverzeichnis")->isChecked() != ticked)
            click("chkUnterverzeichnis");

        click("cmdStart");

        EXPECT_EQ(statusText(), QStringLiteral("Fertig, 4 Dateien verarbeitet"));
        for (const ExpectedPage& expected : SitePages) {
            SCOPED_TRACE(expected.output);
            const QString url = ticked ? NewUrl + QString::fromUtf8(expected.urlPath) : NewUrl;
            EXPECT_EQ(page(expected.output), expectedPage("default.htm", url));
        }
        EXPECT_FALSE(exists("site_Moved/bild.gif"));
        EXPECT_FALSE(exists("site_Moved/x/leer"));
        EXPECT_EQ(readFile("site/a.htm"), QByteArray("alte Seite a"));
        EXPECT_TRUE(dialogs.messages.empty());
        expectInputsEnabled();
        EXPECT_TRUE(control<QProgressBar>("prgFortschritt")->isHidden());
    }
}

// Both are written here; the host the pages go to may keep only one.
TEST_F(frmMainRun, pagesThatDifferOnlyInLetterCaseAreNamedAfterTheRun)
{
    writeFile("site/A.htm", "alte Seite A");
    click("cmdStart");
    EXPECT_EQ(statusText(), QStringLiteral("Fertig, 5 Dateien verarbeitet"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Nicht jeder Server hält alle Seiten auseinander:\nDie Seiten A.htm "
                             "und a.htm unterscheiden sich nur in Groß- und Kleinschreibung: Ein "
                             "Server, der sie nicht unterscheidet (etwa unter Windows), behält "
                             "nur eine."));
    EXPECT_TRUE(exists("site_Moved/A.htm") && exists("site_Moved/a.htm"));
}

TEST_F(frmMainRun, everyWayOutTellsTheUserAndEnablesTheInputsAgain)
{
    struct Row
    {
        const char* name;
        std::function<void(frmMainRun&)> arrange;
        QString message; // begins with
        QMessageBox::Icon icon;
        QString status;
        bool focusesDirectory;
    };
    const QString welcome = QStringLiteral("Welcome!");
    const QString searching = QStringLiteral("Suchen der Dateien...");
    const QString aborted = QStringLiteral("Durchführung abgebrochen.");
    const Row rows[] = {
        {"directory missing", [](frmMainRun& t) { t.typeInto("txtVerzeichnis", t.path("fehlt")); },
         QStringLiteral("Verzeichnis nicht gefunden\n") + path("fehlt"), QMessageBox::Critical,
         welcome, true},
        {"directory too short",
         [](frmMainRun& t) { t.typeInto("txtVerzeichnis", QStringLiteral("/")); },
         QStringLiteral("Bitte Unterverzeichnis auswählen"), QMessageBox::Information, welcome,
         true},
        {"output root exists, No",
         [](frmMainRun& t) {
             QDir().mkpath(t.path("site_Moved"));
             t.dialogs.answer = QMessageBox::No;
         },
         QStringLiteral("Ordner ") + path("site_Moved") +
             QStringLiteral(" bereits vorhanden, Dateien ersetzen?"),
         QMessageBox::Question, welcome, false},
        {"no files", [](frmMainRun& t) { t.typeInto("txtDateitypen", QStringLiteral("xyz")); },
         QStringLiteral("Keine Dateien gefunden"), QMessageBox::Information, searching, false},
        {"template without body end",
         [](frmMainRun& t) {
             t.writeFile("program/benutzer.htm", "<HTML>%URL%</HTML>");
             t.click(t.option(1));
         },
         QStringLiteral("HTML-Code fehlerhaft:\n</Body> Element nicht gefunden"),
         QMessageBox::NoIcon, aborted, false},
        {"template missing",
         [](frmMainRun& t) {
             QFile::remove(t.path("program/benutzer.htm"));
             t.click(t.option(1));
         },
         QStringLiteral("Die HTML-Vorlage konnte nicht gelesen werden.\n"), QMessageBox::Critical,
         aborted, false},
        {"script URL",
         [](frmMainRun& t) { t.typeInto("txtURLneu", QStringLiteral("JavaScript:alert(1)")); },
         QStringLiteral("Die neue URL darf nicht"), QMessageBox::Critical, welcome, false},
        {"types that name no type",
         [](frmMainRun& t) { t.typeInto("txtDateitypen", QStringLiteral(";tar.gz")); },
         QStringLiteral("Dateitypen fehlerhaft"), QMessageBox::Critical, aborted, false},
        {"report place is a folder",
         [](frmMainRun& t) {
             QDir().mkpath(t.path("site_Moved.csv"));
             t.window->findChild<QAction*>(QStringLiteral("mnuExtrasBericht"))->trigger();
         },
         QStringLiteral("Die Datei ") + path("site_Moved.csv") +
             QStringLiteral(" ist keine gewöhnliche Datei"),
         QMessageBox::Critical, aborted, false},
        {"output root is a file", [](frmMainRun& t) { t.writeFile("site_Moved", "eine Datei"); },
         QStringLiteral("Ordner ") + path("site_Moved") +
             QStringLiteral(" kann nicht angelegt werden"),
         QMessageBox::Critical, welcome, false},
        // Last, since a link cannot be cleared away like a folder.
        {"output root is a link",
         [](frmMainRun& t) {
             QFile::remove(t.path("site_Moved"));
             QDir().mkpath(t.path("elsewhere"));
             QFile::link(t.path("elsewhere"), t.path("site_Moved"));
         },
         QStringLiteral("Ordner ") + path("site_Moved") + QStringLiteral(" ist eine Verknüpfung"),
         QMessageBox::Critical, welcome, false},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        startOver();
        row.arrange(*this);
        int enabledWhileOpen = -1;
        QString statusWhileOpen;
        dialogs.whileMessageOpen = [&](const FakeDialogs::Message&) {
            enabledWhileOpen = enabledCount(inputs());
            statusWhileOpen = statusText();
            EXPECT_EQ(enabledCount(buttonsThatStayEnabled()), 3);
        };

        click("cmdStart");

        ASSERT_EQ(dialogs.messages.size(), 1u);
        const FakeDialogs::Message& message = dialogs.messages.front();
        EXPECT_TRUE(message.text.startsWith(row.message)) << message.text.toStdString();
        EXPECT_EQ(message.icon, row.icon);
        EXPECT_EQ(message.title, QStringLiteral("Kelvane"));
        EXPECT_EQ(message.parent.data(), window.get());
        EXPECT_EQ(enabledWhileOpen, 0);
        // The run's last status is on the panel before the message shows.
        EXPECT_EQ(statusWhileOpen, row.status == aborted ? welcome : row.status);
        EXPECT_EQ(statusText(), row.status);
        EXPECT_EQ(window->focusWidget() == field("txtVerzeichnis"), row.focusesDirectory);
        EXPECT_TRUE(QDir(path("site_Moved")).isEmpty()) << "nothing written";
        expectInputsEnabled();
    }
}

TEST_F(frmMainRun, answeringYesReplacesPagesAndKeepsTheRestOfTheOutputTree)
{
    writeFile("site_Moved/a.htm", "alte Ersatzseite");
    writeFile("site_Moved/eigene.txt", "bleibt");
    dialogs.answer = QMessageBox::Yes;

    click("cmdStart");

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(page("site_Moved/a.htm"),
              expectedPage("default.htm", NewUrl + QStringLiteral("/a.htm")));
    EXPECT_EQ(readFile("site_Moved/eigene.txt"), QByteArray("bleibt"));
    EXPECT_EQ(statusText(), QStringLiteral("Fertig, 4 Dateien verarbeitet"));
}

TEST_F(frmMainRun, showsProgressWhileWritingAndIgnoresASecondStart)
{
    auto* progress = control<QProgressBar>("prgFortschritt");
    bool shownWithTotal = false;
    afterPage(1, [&] {
        shownWithTotal = progress->isVisible() && progress->maximum() == 4;
        click("cmdStart"); // a second run would ask about the output root
    });

    click("cmdStart");

    EXPECT_TRUE(shownWithTotal);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(statusText(), QStringLiteral("Fertig, 4 Dateien verarbeitet"));
    EXPECT_TRUE(progress->isHidden());
    EXPECT_FALSE(window->isRunning());
}

TEST_F(frmMainRun, theEditorOpenedDuringARunWorksAndTheRunGoesOn)
{
    bool inputsDisabledInEditor = false;
    dialogs.whileModalOpen = [&](QWidget& editor) {
        inputsDisabledInEditor = enabledCount(inputs()) == 0;
        editor.close();
    };
    afterPage(2, [&] { click("cmdHTML"); });

    click("cmdStart");

    EXPECT_EQ(dialogs.modalWindows.size(), 1u);
    EXPECT_TRUE(inputsDisabledInEditor);
    for (const ExpectedPage& page : SitePages)
        EXPECT_TRUE(exists(page.output)) << page.output;
    EXPECT_EQ(statusText(), QStringLiteral("Fertig, 4 Dateien verarbeitet"));
    expectInputsEnabled();
}

TEST_F(frmMainRun, closingDuringARunStopsAfterThePageThenClosesAndSaves)
{
    afterPage(2, [&] { window->close(); });

    click("cmdStart");

    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isRunning());
    EXPECT_EQ(page(SitePages[0].output),
              expectedPage("default.htm", NewUrl + QStringLiteral("/a.htm")));
    EXPECT_EQ(page(SitePages[1].output),
              expectedPage("default.htm", NewUrl + QStringLiteral("/index.html")));
    EXPECT_FALSE(exists(SitePages[2].output));
    EXPECT_FALSE(exists(SitePages[3].output));
    EXPECT_EQ(statusText(), QStringLiteral("Durchführung abgebrochen."));
    EXPECT_EQ(Settings::read(Settings::Key::Verzeichnis), path("site"));
    EXPECT_EQ(Settings::read(Settings::Key::URLneu), NewUrl);
}

TEST_F(frmMainRun, theExtrasMenuChoosesTheFilesEachRunWritesAndKeepsTheChoice)
{
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[menus.size() - 2]->text(), QStringLiteral("E&xtras"));
    EXPECT_EQ(menus.last()->objectName(), QStringLiteral("mnuHelp"));

    struct Choice
    {
        const char* entry;
        const char* writtenFile;
        const char* statusName;
    };
    const Choice choices[] = {
        {"mnuExtrasApache", "site_Moved/.htaccess", ".htaccess"},
        {"mnuExtrasnginx", "site_Moved.nginx.conf", "site_Moved.nginx.conf"},
        {"mnuExtrasCaddy", "site_Moved.Caddyfile", "site_Moved.Caddyfile"},
        {"mnuExtrasIIS", "site_Moved/web.config", "web.config"},
        {"mnuExtrasNetlify", "site_Moved/_redirects", "_redirects"},
        {"mnuExtrasBericht", "site_Moved.csv", "site_Moved.csv"},
    };
    for (const Choice& choice : choices) {
        auto* entry = window->findChild<QAction*>(QString::fromLatin1(choice.entry));
        ASSERT_NE(entry, nullptr) << choice.entry;
        EXPECT_TRUE(entry->isCheckable());
        entry->trigger();
    }
    click("cmdStart");
    EXPECT_EQ(statusText(), QStringLiteral("Fertig, 4 Dateien verarbeitet, Seiten in ") +
                                path("site_Moved") + QStringLiteral(", geschrieben: 6 Dateien"));
    // The panel shows what fits: the count whole, the path cut between folders.
    const auto* panel = control<QLabel>("sbStatusBarPanel1");
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
    EXPECT_TRUE(panel->text().endsWith(QStringLiteral("site_Moved, geschrieben: 6 Dateien")))
        << panel->text().toStdString();
    for (const Choice& choice : choices) {
        EXPECT_TRUE(exists(choice.writtenFile)) << choice.writtenFile;
        EXPECT_TRUE(panel->toolTip().contains(QStringLiteral("\n") +
                                              QString::fromLatin1(choice.statusName)))
            << choice.statusName;
    }
    EXPECT_NE(readFile("site_Moved/.htaccess").indexOf("RewriteRule \"^$\""), -1)
        << "the folder of index.html answers at its address";

    restart();
    for (const Choice& choice : choices)
        EXPECT_TRUE(window->findChild<QAction*>(QString::fromLatin1(choice.entry))->isChecked());
    EXPECT_EQ(QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"))
                  .value(QStringLiteral("Extras/Apache"))
                  .toString(),
              QStringLiteral("1"));
}

TEST_F(frmMainRun, everyFileAndTheSitemapsAreExtrasAndTheSitemapsNeedTheOldAddress)
{
    const char* entries[] = {"mnuExtrasAlleDateien", "mnuExtrasSitemaps", "mnuExtrasNetlify"};
    for (const char* name : entries)
        window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("mnuExtrasSitemaps"))->text(),
              QStringLiteral("&Sitemaps (sitemap-alt.xml, sitemap-neu.xml)"));

    click("cmdStart");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("Die Sitemaps brauchen die alte Adresse der Site")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_FALSE(exists("site_Moved")) << "refused before the first page";

    Settings::write(Settings::Key::AlteAdresse, QStringLiteral("http://alt.example/alt"));
    click("cmdStart");
    EXPECT_TRUE(statusText().startsWith(QStringLiteral("Fertig, 4 Dateien verarbeitet")));
    for (const char* file :
         {"site_Moved/_redirects", "site_Moved/sitemap-alt.xml", "site_Moved/sitemap-neu.xml"})
        EXPECT_TRUE(exists(file)) << file;
    EXPECT_FALSE(exists("site_Moved/bild.gif")) << "no replacement page for an image";
    EXPECT_NE(QString::fromUtf8(readFile("site_Moved/_redirects"))
                  .indexOf(QStringLiteral("/x/leer/notiz.txt ") + NewUrl +
                           QStringLiteral("/x/leer/notiz.txt 301!")),
              -1);
    EXPECT_NE(QString::fromUtf8(readFile("site_Moved/sitemap-alt.xml"))
                  .indexOf(QStringLiteral("<loc>http://alt.example/alt/bild.gif</loc>")),
              -1);

    restart();
    for (const char* name : entries)
        EXPECT_TRUE(window->findChild<QAction*>(QString::fromLatin1(name))->isChecked()) << name;
    const QSettings store(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"));
    EXPECT_EQ(store.value(QStringLiteral("Extras/AlleDateien")).toString(), QStringLiteral("1"));
    EXPECT_EQ(store.value(QStringLiteral("Extras/Sitemaps")).toString(), QStringLiteral("1"));
}

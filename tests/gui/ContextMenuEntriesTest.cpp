// The file-manager entries of the installed context menu, started the way
// each file manager starts them, hand the selected items to the running
// Morvane window through its single instance, every name intact.
#include "MRVN7x/InstallationComponent/MRVNInstallationManager.h"
#include "gui/SingleInstance.h"
#include "platform/Bundle.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/ContextMenuHome.h"
#include "tests/support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::gui;
namespace fs = std::filesystem;

namespace {

// How a file manager starts an entry: a program, its arguments, the folder
// it runs in and the variables it sets.
struct Start {
    std::string program;
    std::vector<std::string> arguments;
    std::string folder = "/";
    std::vector<std::pair<QString, QString>> variables;
};

QStringList qtStrings(const std::vector<std::string>& strings) {
    QStringList list;
    for (const auto& s : strings)
        list << QString::fromStdString(s);
    return list;
}

// An Exec value split into words as the desktop entry rules quote them, with
// the field code %F replaced by the files, one word each (KIO, Dolphin).
std::vector<std::string> desktopExec(const std::string& exec,
                                     const std::vector<std::string>& files) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            word += exec[++i];
        } else if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (c == ' ' && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    std::vector<std::string> expanded;
    for (const auto& w : words) {
        if (w == "%F")
            expanded.insert(expanded.end(), files.begin(), files.end());
        else
            expanded.push_back(w);
    }
    return expanded;
}

// A command line with %F replaced by the files quoted for the shell, run by
// the shell (Nemo escapes each character, Thunar quotes each path).
Start shellCommand(std::string command, const std::vector<std::string>& files, bool singleQuotes) {
    std::string list;
    for (const auto& file : files) {
        std::string quoted;
        if (singleQuotes) {
            quoted = "'";
            for (char c : file)
                quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            quoted += "'";
        } else {
            // Every ASCII character but letters and digits; other bytes
            // belong to UTF-8 sequences and stay together.
            for (char c : file) {
                const auto byte = static_cast<unsigned char>(c);
                const bool plain = byte >= 0x80 || std::isalnum(byte) || c == '/' || c == '.';
                quoted += plain ? std::string(1, c) : std::string("\\") + c;
            }
        }
        list += (list.empty() ? "" : " ") + quoted;
    }
    command.replace(command.find("%F"), 2, list);
    return {"/bin/sh", {"-c", command}, "/", {}};
}

std::string xmlText(std::string text) {
    for (const auto& [entity, c] :
         {std::pair<std::string, std::string>{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
        for (size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, entity.size(), c);
    return text;
}

std::string thunarCommand(const std::string& actionsFile) {
    const std::string actions = test::readFile(actionsFile);
    const size_t at = actions.find("<unique-id>tessary-context-menu");
    const size_t begin = actions.find("<command>", at) + 9;
    return xmlText(actions.substr(begin, actions.find("</command>", begin) - begin));
}
} // namespace

TEST(ContextMenuEntries, EachFileManagersEntryHandsTheSelectedItemsToTheRunningWindow) {
    test::RuntimeFolder runtime;
    test::ContextMenuHome home;
    MRVNInstallationManager manager;
    ASSERT_TRUE(manager.installContextMenu());
    // The entries start the bundle's program, the one this build made.
    ASSERT_EQ(fs::canonical(Bundle::applicationProgram()), fs::canonical(MORVANE_GUI));

    test::TempDir files{"selected"};
    const std::vector<std::string> names = {
        "plain.txt", "with  two spaces.jpg", "it's \"quoted\".png", "$HOME `id`; rm *.txt", "-h",
        "tab\there", "ünïcødé.ogg"};
    std::vector<std::string> paths;
    for (const auto& name : names)
        paths.push_back(files.write(name));
    const std::string newline = files.write("line\nbreak.txt");

    struct Case {
        const char* name;
        Start start;
        std::vector<std::string> expected;
    };
    std::string envList;
    for (const auto& path : paths)
        envList += path + "\n";
    std::vector<std::string> withNewline = names;
    withNewline.push_back("line\nbreak.txt");
    std::vector<std::string> allPaths = paths;
    allPaths.push_back(newline);
    const std::string dolphinExec =
        test::keyFileValue(home.dolphinMenu(), "Desktop Action renameWithMorvane", "Exec");
    const std::string nemoExec = test::keyFileValue(home.nemoAction(), "Nemo Action", "Exec");
    const auto dolphinWords = desktopExec(dolphinExec, allPaths);
    const Case cases[] = {
        {"Nautilus, the paths in its variable",
         {home.nautilusScript(),
          {},
          "/",
          {{"NAUTILUS_SCRIPT_SELECTED_FILE_PATHS", QString::fromStdString(envList)}}},
         paths},
        {"Nautilus, the names as arguments in the shown folder",
         {home.nautilusScript(),
          withNewline,
          files.path(),
          {{"NAUTILUS_SCRIPT_SELECTED_FILE_PATHS", QString::fromStdString(envList)}}},
         allPaths},
        {"Dolphin, %F as words",
         {dolphinWords.front(), {dolphinWords.begin() + 1, dolphinWords.end()}, "/", {}},
         allPaths},
        {"Nemo, %F escaped for the shell", shellCommand(nemoExec, paths, false), paths},
        {"Thunar, %F quoted for the shell",
         shellCommand(thunarCommand(home.thunarActions()), paths, true), paths},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SingleInstance window;
        ASSERT_TRUE(window.listen());
        std::optional<std::vector<std::string>> received;
        QObject::connect(&window, &SingleInstance::pathsReceived,
                         [&](const std::vector<std::string>& got) { received = got; });
        QProcess entry;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        for (const auto& [variable, value] : c.start.variables)
            environment.insert(variable, value);
        entry.setProcessEnvironment(environment);
        entry.setWorkingDirectory(QString::fromStdString(c.start.folder));
        entry.start(QString::fromStdString(c.start.program), qtStrings(c.start.arguments));
        ASSERT_TRUE(
            test::waitFor([&] { return received && entry.state() == QProcess::NotRunning; }, 20000))
            << entry.readAllStandardError().toStdString();
        EXPECT_EQ(entry.exitCode(), 0);
        EXPECT_EQ(*received, c.expected);
        // Nothing was renamed or made on the way.
        EXPECT_EQ(std::distance(fs::directory_iterator(files.path()), fs::directory_iterator()),
                  long(allPaths.size()));
    }
}

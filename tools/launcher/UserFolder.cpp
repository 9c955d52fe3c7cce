#include "tools/launcher/UserFolder.h"

#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr int ToolMilliseconds = 120'000;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

LaunchPlan failed(const QString& why) {
    return {LaunchPlan::Kind::Failure, {}, why};
}

// Runs the tool on `folder` (which it makes); empty when it made it, else what went wrong.
QString runTool(const QString& toolPath, const QString& folder) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::SeparateChannels);
    tool.start(toolPath, {folder});
    if (!tool.waitForStarted())
        return QStringLiteral("the data-folder tool \"%1\" could not be started (%2)")
            .arg(shown(toolPath), tool.errorString());
    if (!tool.waitForFinished(ToolMilliseconds)) {
        tool.kill();
        tool.waitForFinished();
        return QStringLiteral("the data-folder tool did not finish within %1 seconds").arg(ToolMilliseconds / 1000);
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        const QString said = QString::fromUtf8(tool.readAllStandardError()).trimmed();
        return said.isEmpty() ? QStringLiteral("the data-folder tool failed") : said;
    }
    return {};
}

// A scratch folder beside the files, under a name no start takes for a data folder; removed with what is left
// in it unless the caller moved it away.
std::optional<QTemporaryDir> scratchIn(const QString& parent) {
    std::optional<QTemporaryDir> scratch(std::in_place, QDir(parent).filePath(QStringLiteral(".orvella-new.XXXXXX")));
    if (!scratch->isValid())
        return std::nullopt;
    return scratch;
}

} // namespace

LaunchPlan prepareUserFolder(const QString& base, const QString& toolPath) {
    if (base.isEmpty() || QDir::isRelativePath(base))
        return failed(QStringLiteral("the user's application data folder is not known (APPDATA is not set to a "
                                     "folder), so there is no place for the Orvella data folder."));
    const QString data = QDir(base).filePath(QStringLiteral("Orvella"));
    const auto at = [&data](const char* name) { return QDir(data).filePath(QLatin1String(name)); };

    if (!platform::somethingAt(data)) {
        // First start: the folder is made under a passing name and takes its own only when complete, so that a
        // start cut short leaves nothing a later start would take for a folder that lost its book.
        if (!QDir().mkpath(base))
            return failed(QStringLiteral("the folder \"%1\" could not be made.").arg(shown(base)));
        std::optional<QTemporaryDir> scratch = scratchIn(base);
        if (!scratch)
            return failed(QStringLiteral("cannot write into \"%1\".").arg(shown(base)));
        const QString made = QDir(scratch->path()).filePath(QStringLiteral("Orvella"));
        if (const QString why = runTool(toolPath, made); !why.isEmpty())
            return failed(QStringLiteral("the data folder \"%1\" could not be made: %2").arg(shown(data), why));
        if (!QDir().rename(made, data))
            return failed(QStringLiteral("the data folder \"%1\" could not be made.").arg(shown(data)));
        return {LaunchPlan::Kind::Start, data, {}};
    }
    if (platform::lookAt(data).kind != platform::EntryKind::Folder)
        return failed(QStringLiteral("\"%1\" is not a folder.").arg(shown(data)));
    if (!platform::lookAt(at("data.mdb")).exists() && !platform::somethingAt(at("server.book")))
        return {LaunchPlan::Kind::MissingBook, data, {}};
    // The day and week sheets, each put back when missing.
    const std::array<const char*, 2> sheets = {"RANTEBOU.rav", "EBDOMADA.rav"};
    if (std::any_of(sheets.begin(), sheets.end(), [&at](const char* sheet) { return !platform::somethingAt(at(sheet)); })) {
        // The tool makes every file of a data folder and refuses a folder holding any: it fills a scratch folder
        // inside the data folder and only the missing sheets are moved across.
        std::optional<QTemporaryDir> scratch = scratchIn(data);
        if (!scratch)
            return failed(QStringLiteral("cannot write into \"%1\".").arg(shown(data)));
        const QString made = QDir(scratch->path()).filePath(QStringLiteral("made"));
        if (const QString why = runTool(toolPath, made); !why.isEmpty())
            return failed(QStringLiteral("the data folder \"%1\" could not be made ready: %2").arg(shown(data), why));
        for (const char* sheet : sheets)
            if (!platform::somethingAt(at(sheet)))
                QDir().rename(QDir(made).filePath(QLatin1String(sheet)), at(sheet));
    }
    return {LaunchPlan::Kind::Start, data, {}};
}

#include "platform/toolkit/qt/DisplayCheck.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace toolkit::qt {

namespace {

// Qt's context strings are literals, alive for the whole run.
struct Held {
    QtMsgType Type;
    const char* File;
    int Line;
    const char* Function;
    const char* Category;
    QString Text;
};

struct State {
    const char* Program = "";
    QtMessageHandler Previous = nullptr;
    std::vector<Held> Messages;
};

State& Checking() {
    static State state;
    return state;
}

// The platform plug-in's own words come first ("could not connect to display :1"); the fatal message only
// says that no plug-in could start.
std::string CauseOf(const QString& fatal) {
    for (const Held& held : Checking().Messages) {
        if (held.Category == nullptr || !QByteArray(held.Category).startsWith("qt.qpa")) continue;
        std::string cause = held.Text.trimmed().toStdString();
        if (cause.ends_with("display") && qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            cause += " (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return cause;
    }
    return fatal.section(QLatin1Char('\n'), 0, 0).trimmed().toStdString();
}

void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        Checking().Messages.push_back(Held{type, context.file, context.line, context.function, context.category, text});
        return;
    }
    std::fprintf(stderr, "%s: cannot open a window: %s\n", Checking().Program, CauseOf(text).c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

DisplayCheck::DisplayCheck(const char* program) {
    Checking().Program = program;
    Checking().Previous = qInstallMessageHandler(Hold);
}

DisplayCheck::~DisplayCheck() {
    qInstallMessageHandler(Checking().Previous);
    std::vector<Held> messages;
    messages.swap(Checking().Messages);
    for (const Held& held : messages)
        qt_message_output(held.Type, QMessageLogContext(held.File, held.Line, held.Function, held.Category), held.Text);
}

}  // namespace toolkit::qt

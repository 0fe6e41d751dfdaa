#include "app/CommandLine.h"

#include <QCommandLineParser>

std::optional<QString> RomFromCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Replaces the textures of a Moonglass ROM."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("ROM"),
                                 QStringLiteral("A ROM image to load at start."),
                                 QStringLiteral("[ROM]"));
    parser.process(arguments);
    const QStringList positional = parser.positionalArguments();
    return positional.isEmpty() ? std::nullopt : std::optional(positional.first());
}

#include "tools/vantar-tool/commands.h"

namespace VantarTool {

int runInfo(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        helpInfo(err);
        return 2;
    }
    const QString& path = args.first();
    if (path.endsWith(QLatin1String(".cfg"), Qt::CaseInsensitive))
        return infoMapConfig(path, out, err);
    err << "vantar-tool info: not yet able to read \"" << path << "\"\n";
    return 1;
}

void helpInfo(QTextStream& out)
{
    out << "vantar-tool info FILE\n";
}

} // namespace VantarTool

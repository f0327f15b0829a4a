#include "tools/vantar-tool/commands.h"

namespace VantarTool {

int runGenAScans(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(args);
    Q_UNUSED(out);
    err << "vantar-tool gen-ascans: not available yet\n";
    return 1;
}

void helpGenAScans(QTextStream& out)
{
    out << "vantar-tool gen-ascans DIR [--count N]\n";
}

} // namespace VantarTool

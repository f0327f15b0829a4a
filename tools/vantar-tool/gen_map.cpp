#include "tools/vantar-tool/commands.h"

namespace VantarTool {

int runGenMap(const QStringList& args, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(args);
    Q_UNUSED(out);
    err << "vantar-tool gen-map: not available yet\n";
    return 1;
}

void helpGenMap(QTextStream& out)
{
    out << "vantar-tool gen-map DIR [--columns C --rows R --step-h MM --step-v MM --reflector X,Y,Z ...]\n";
}

} // namespace VantarTool

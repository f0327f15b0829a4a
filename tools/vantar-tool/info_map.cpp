#include "tools/vantar-tool/commands.h"

namespace VantarTool {

int infoMapConfig(const QString& path, QTextStream& out, QTextStream& err)
{
    Q_UNUSED(out);
    err << "vantar-tool info: map configuration files are not read yet: \"" << path << "\"\n";
    return 1;
}

} // namespace VantarTool

#include "app/platform/fakedriveplatform.h"

#include "app/platform/sysfsdriveplatform.h"

namespace Vantar {

FakeDrivePlatform::FakeDrivePlatform(QString strTree, QByteArray mountTable)
    : m_strTree(std::move(strTree)), m_mountTable(std::move(mountTable))
{
}

DriveTable FakeDrivePlatform::read() const
{
    return readSysfsDriveTable(m_strTree + QLatin1String("/block"), m_mountTable);
}

} // namespace Vantar

#pragma once
// A drive table made up for tests and demonstrations: a folder tree laid out like sysfs
// (TREE/block/sdb/device/model …) and a mount-table text, read by the Linux reader.

#include "app/platform/drivediscovery.h"

#include <QByteArray>
#include <QString>

namespace Vantar {

class FakeDrivePlatform : public DrivePlatform
{
public:
    //! strTree holds "block" as "/sys" does; mountTable is "/proc/self/mountinfo" text.
    FakeDrivePlatform(QString strTree, QByteArray mountTable);

    void setMountTable(const QByteArray& mountTable) { m_mountTable = mountTable; }
    const QString& tree() const { return m_strTree; }

    DriveTable read() const override;

private:
    QString m_strTree;
    QByteArray m_mountTable;
};

} // namespace Vantar

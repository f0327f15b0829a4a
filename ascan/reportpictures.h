#pragma once
// Pictures of one printing run. They go as JPEG files into a folder made for this run alone
// inside the system's temporary folder, so two runs (or two programs) never share a name,
// and only the files written here are removed afterwards.

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <QStringList>

class ReportPictureStore
{
    Q_DECLARE_TR_FUNCTIONS(ReportPictureStore)

public:
    //! Makes the run's folder below strTempRoot (the system temporary folder when empty).
    explicit ReportPictureStore(const QString& strTempRoot = QString());
    //! Removes what is left.
    ~ReportPictureStore();
    ReportPictureStore(const ReportPictureStore&) = delete;
    ReportPictureStore& operator=(const ReportPictureStore&) = delete;

    //! False when the run's folder could not be made; every save then fails.
    bool isValid() const { return !m_strDir.isEmpty(); }
    //! The run's folder; empty when it could not be made.
    QString folder() const { return m_strDir; }
    //! Where a picture of the given file name goes (inside the run's folder).
    QString pathFor(const QString& strFileName) const;

    //! Writes image as JPEG (default quality) under strFileName; the path it went to, or
    //! empty when it could not be written (a null image, a full disk, no folder). An
    //! earlier picture of the same name is replaced.
    QString save(const QImage& image, const QString& strFileName);
    //! The picture files written so far, in the order written.
    QStringList files() const { return m_files; }

    //! Deletes the written pictures, newest first, then the run's folder when it is empty;
    //! the store is spent afterwards (every save fails).
    void removeAll();

private:
    QString m_strDir;
    QStringList m_files;
};

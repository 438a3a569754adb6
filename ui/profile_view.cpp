#include "profile_view.h"

#include "file_dialog.h"

#include <QAction>
#include <QPainter>

ProfileView::ProfileView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("profileView"));
    setMinimumHeight(140);
    // Its own picture, from the context menu.
    auto *exportAction = new QAction(QStringLiteral("导出图片..."), this);
    exportAction->setObjectName(QStringLiteral("exportProfile"));
    addAction(exportAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(exportAction, &QAction::triggered, this, [this] {
        const QString path = chooseFile(this,
                                        {FileDialogRequest::Mode::Save, QStringLiteral("导出图片"), kPictureFilter,
                                         QStringLiteral("压力曲线.svg")});
        if (!path.isEmpty())
            exportPicture(path);
    });
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void ProfileView::show(const picture::Profile &profile)
{
    m_profile = profile;
    update();
}

bool ProfileView::exportPicture(const QString &path)
{
    return saveFile(this, path, picture::pictureFile(m_profile, path), QStringLiteral("图片"));
}

void ProfileView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    picture::paintProfile(painter, QRectF(rect()), m_profile);
}

#pragma once

#include "network_picture.h"

#include <QWidget>

// profileView: the pressure along a way, section by section: from a source to the most
// unfavourable node of a network, or along a route.
class ProfileView : public QWidget
{
    Q_OBJECT

public:
    explicit ProfileView(QWidget *parent = nullptr);
    void show(const picture::Profile &profile);
    const picture::Profile &profile() const { return m_profile; }
    // Writes the profile as SVG or PNG, by the file's suffix ("导出图片..." in its context menu).
    bool exportPicture(const QString &path);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    picture::Profile m_profile;
};

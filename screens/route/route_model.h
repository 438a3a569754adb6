#pragma once

#include "route.h"
#include "text_table.h"

// The sections of a route and their computed columns, with the closing row "合计".
// Every change recalculates the whole route at once.
class RouteModel : public TextTableModel
{
    Q_OBJECT

public:
    RouteModel(EditSession *session, QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    int closingRows() const override { return 1; }
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const route::Settings &settings() const { return m_settings; }
    const QList<route::Section> &sections() const { return m_sections; }
    const route::Result &result() const { return m_result; }
    // The column of the message, after the computed ones.
    int messageColumn() const;
    bool isTotalRow(int row) const { return row == typedRowCount(); }

    void setSettings(const route::Settings &settings);
    void setSections(const QList<route::Section> &sections);

    // Calculates the route anew: the session calls it after every change.
    void recalculate();

signals:
    // The route was calculated anew.
    void recalculated();

private:
    route::Settings m_settings;
    QList<route::Section> m_sections;
    route::Result m_result;
};

#pragma once

#include "route.h"

#include <QAbstractTableModel>

class QUndoStack;

// The sections of a route and their computed columns, with the closing row
// "合计". Every change recalculates the whole route at once. Edits made through
// the view go onto the undo stack; the commands change the model through the
// functions below, which do not.
class RouteModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RouteModel(QUndoStack *undo, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    const route::Settings &settings() const { return m_settings; }
    const QList<route::Section> &sections() const { return m_sections; }
    const route::Result &result() const { return m_result; }
    // The column of the message, after the computed ones.
    int messageColumn() const;
    bool isTotalRow(int row) const { return row == int(m_sections.size()); }

    // Changes that the undo commands make; each recalculates.
    void setSettings(const route::Settings &settings);
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    void insertSections(int row, const QList<route::Section> &sections);
    QList<route::Section> removeSections(int row, int count);
    void moveSection(int from, int to);
    void setSections(const QList<route::Section> &sections);

    // While a batch lives, changes wait for one recalculation when the last batch ends.
    class Batch
    {
    public:
        explicit Batch(RouteModel *model);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        RouteModel *m_model;
    };

    // The table as a spreadsheet pastes it: captions, then every row, tab-separated.
    QString tabText() const;

signals:
    // The route was calculated anew.
    void recalculated();

private:
    void recalculate();
    // The result of a row, or an empty one while a batch has not yet recalculated.
    const route::SectionResult &resultOf(int row) const;

    int m_batchDepth = 0;
    bool m_pending = false;
    QUndoStack *m_undo;
    route::Settings m_settings;
    QList<route::Section> m_sections;
    route::Result m_result;
};

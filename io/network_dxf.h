#pragma once

#include "network.h"
#include "network_layout.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

// The hydraulic drawing (水力计算图) of a solved network as a DXF file that CAD programs open to
// scale: AutoCAD 2010 format (AC1024, UTF-8 text), model units metres, the network at its surveyed
// coordinates. A layer for each pressure class and size ("燃气-低压-DN100"), coloured from small to
// large; the sources, nodes, the most unfavourable line, the labels, the legend and the title block
// each on a layer of their own. Text and symbols are sized for the drawing's scale (2.5 mm labels on
// paper, 1.25 m in the model at 1:500).
namespace dxf {

struct Node
{
    QString id;
    double x = 0; // m, Y up as surveyed
    double y = 0;
    bool source = false;
    bool worst = false; // the most unfavourable node
    std::optional<double> pressure; // Pa for low pressure, kPa for medium/high; none where unknown
};

struct Pipe
{
    QString id;
    int from = -1; // indices into Drawing::nodes
    int to = -1;
    QList<QPointF> bends; // the inner vertices, in order from `from` to `to`
    QString size; // "DN100", "dn110": as labelled, and the end of its layer's name
    double length = 0; // m for low pressure, km for medium/high
    double flow = 0; // Nm^3/h, as solved
    double drop = 0; // P_from - P_to: Pa for low pressure, kPa for medium/high
    bool worst = false; // on the way to the most unfavourable node
};

struct TitleBlock
{
    QString title; // empty: 燃气管网水力计算图
    QString project;
    QString designer;
    QString date;
};

struct Drawing
{
    bool low = true; // low pressure; else medium/high
    QList<Node> nodes;
    QList<Pipe> pipes;
    double scale = 500; // 1:scale
    TitleBlock title;
};

// The texts along a pipe: "DN100 L=35.0" above the line, "Q=12.3 ΔP=4.5" below it. Low pressure:
// L in m and ΔP in Pa, one decimal each; medium/high: L in km and ΔP in kPa, three decimals. Q in
// Nm^3/h with one decimal. The drawings on the screen and in the report show the same texts.
struct PipeLabels
{
    QString above;
    QString below;
};
PipeLabels pipeLabels(const Pipe &pipe, bool low);
// A node's id and its pressure: "J3 P=2850.3" (Pa, one decimal), "J3 P=295.43" (kPa, two
// decimals); the id alone where the pressure is unknown.
QString nodeLabel(const Node &node, bool low);
// The units of the labels, for the legend: "L(m) Q(Nm^3/h) ΔP(Pa) P(Pa)".
QString unitNote(bool low);

// A network as calculated, for its drawing: the same texts in the DXF file and on the report's
// picture. A node at a place the layout gives it, with its pressure where solved; a pipe with "DN"
// and its diameter as calculated (nothing where none is known), its length (typed, or its
// course's), its flow and its drop P_from - P_to as solved, no bends.
Node nodeOf(const network::Result &result, int node, QPointF at);
Pipe pipeOf(const network::Result &result, int pipe);
// The drawing of a solved network: every node at its layout place, every pipe with its bends
// where both its ends have typed places, the most unfavourable node and line marked.
Drawing drawingOf(const network::Result &result, const network::Layout &layout, double scale = 500,
                  const TitleBlock &title = {});

// The whole DXF file, UTF-8. A pipe whose ends are not nodes, or whose geometry is not finite,
// is left out.
QByteArray write(const Drawing &drawing);

} // namespace dxf

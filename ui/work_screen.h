#pragma once

#include <QVariantMap>

// A screen that holds work (a calculation, the route table, the network). The shell keeps it
// in a design file, opens a design into it and reports it through this alone,
// without knowing which screen it is.
class WorkScreen
{
public:
    virtual ~WorkScreen() = default;

    // The typed texts and choices, as the design file keeps them for this screen.
    virtual QVariantMap typedState() const = 0;
    // Sets every text and choice as the state says; results show what they would
    // show after such typing.
    virtual void loadState(const QVariantMap &state) = 0;
};

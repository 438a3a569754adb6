#pragma once

#include "calculation.h"

// The description of each calculation, one per screen; calc::all() lists them.
namespace calc {

Calculation lowPressureSection(); // xd
Calculation highPressureSection(); // gyxd
Calculation laminarCheck(); // fxgj
Calculation nonUniformityFlow(); // ll
Calculation simultaneityFlow(); // lll
Calculation allowableDrop(); // yl
Calculation additionalHead(); // yt
Calculation indoorLocalLoss(); // jb
Calculation wallThickness(); // bh

// An outcome that stops at a message; what it already holds (a table) stays.
Outcome refused(const QString &message, Outcome outcome = {});
// An outcome of one result.
Outcome shown(const QString &key, const QString &text);
// The number that the field with that key reads.
double number(const Calculation &c, const Input &in, const char *key);

// The pipe materials of both section screens, Option1 to Option3 in the frame.
Choice pipeMaterials(const QString &frame);

// "Label21..Label39": the labels of a table column, the first and the last.
QString labelRange(int first, int count);

} // namespace calc

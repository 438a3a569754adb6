#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Measurements that need a fresh process. The bench program starts itself
// again as "velmora_bench --probe NAME [CODE]"; the child measures one thing,
// prints one number and ends.
namespace probe {

// The child's side: runs the probe named on the command line and returns the exit status.
int run(int argc, char *argv[]);
// True when the command line asks for a probe.
bool requested(int argc, char *argv[]);

// The parent's side: starts a child with these arguments and returns the number it printed.
std::optional<double> spawn(const QStringList &arguments, QString *error);
// Runs the program that shows the login window written in plain Qt (bench/plain_login.cpp)
// and returns its start-up, timed as the probe "startup-app" times the program's, in ns.
std::optional<double> plainLoginStartup(QString *error);

// The codes of the thirteen screens, in the order of the table.
const QStringList &screenCodes();

} // namespace probe

#include "ProbeTable.h"

ProbeTable& ProcessProbeTable() {
    static ProbeTable table;
    return table;
}

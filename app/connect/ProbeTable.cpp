#include "ProbeTable.h"

namespace velterra {

ProbeTable& ProcessProbeTable() {
    static ProbeTable table;
    return table;
}

}  // namespace velterra

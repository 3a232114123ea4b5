#include "host/host_routines.h"

namespace tarvek {

HostRoutines& hostRoutines() {
    static HostRoutines routines;
    return routines;
}

}  // namespace tarvek

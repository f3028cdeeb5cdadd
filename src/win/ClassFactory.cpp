#include "win/ClassFactory.h"

namespace nimb::win {

HRESULT ClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ServerModule::lock();
    } else {
        ServerModule::unlock();
    }
    return S_OK;
}

} // namespace nimb::win

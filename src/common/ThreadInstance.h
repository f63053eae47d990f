// One object of type T per thread that stays usable while the thread ends.
//
// A plain `thread_local T` is destroyed with the thread's other thread-local objects, in reverse
// order of construction, and on the main thread before every static object. A score kept in a
// static object, or in a thread-local object made before T, is destroyed later and would reach
// a dead T. Once the thread's T is gone, callers get a second T made on that first late call;
// the thread's exit destroys it in turn (or, after exit has begun on the main thread, the
// process ends with it).
#pragma once

namespace corvendi::detail {

template <class T>
T& ThreadInstance() {
    thread_local bool gone = false;  // trivially destructible: readable until the thread ends
    struct Holder {
        T Value;
        ~Holder() { gone = true; }
    };
    if (!gone) {
        thread_local Holder holder;
        return holder.Value;
    }
    thread_local T late;
    return late;
}

}  // namespace corvendi::detail

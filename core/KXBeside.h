// Work that may run on a second thread. Starting a thread can fail (a
// process at its thread limit); the work is then done at once, on the
// calling thread, and nothing else changes: a conversion must not fail
// for want of a thread it only uses to be faster.
#pragma once

#include <future>
#include <new>
#include <system_error>

// Starts a copy of work on a second thread and returns its future; when no
// thread can be started, runs work here and returns an empty future
// (valid() false). Exceptions of work come out of the future's get(), or
// here.
template <class Work>
std::future<void> KXStartBeside(const Work& work) {
    bool started = false;
    std::future<void> done;
    try {
        done = std::async(std::launch::async, work);
        started = true;
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    if (!started) work();
    return done;
}

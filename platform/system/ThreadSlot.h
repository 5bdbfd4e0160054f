// One T per thread, made on the thread's first Get and deleted when the
// thread ends: a thread_local object without the C library's registration
// of its destructor. That registration takes the dynamic loader's lock, so
// a thread's first use of a thread_local would wait out a shared library
// that another thread is loading (SDL2 and its fifty libraries while the
// program starts: milliseconds). A slot's own key lives as long as the
// process; keep slots in statics.
#pragma once

#include <pthread.h>

template <class T>
class CThreadSlot {
public:
    CThreadSlot() { m_made = pthread_key_create(&m_key, [](void* p) { delete static_cast<T*>(p); }) == 0; }
    CThreadSlot(const CThreadSlot&) = delete;
    CThreadSlot& operator=(const CThreadSlot&) = delete;

    T& Get() {
        if (m_made) {
            if (void* p = pthread_getspecific(m_key))
                return *static_cast<T*>(p);
            T* made = new T();
            if (pthread_setspecific(m_key, made) == 0)
                return *made;
            delete made;
        }
        // No key to spare: the thread_local after all.
        thread_local T fallback;
        return fallback;
    }

private:
    pthread_key_t m_key{};
    bool m_made = false;
};

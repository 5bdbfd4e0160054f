// OpenSSL's one-time set-up, made when the caller chooses.
#pragma once

// Reads OpenSSL's configuration and seeds its random generator now (about a
// millisecond, once per process; later calls return at once, a call during
// another thread's set-up waits for it). Both take the dynamic loader's lock
// on the way, so a program that loads a library on another thread makes
// them first, or its first key waits out the whole load. OpenSSL works
// without it, setting itself up at its first use.
void PrepareCrypto();

// The PEM text of the test RSA private key whose public half is
// resources/pubkey.bin. It is a test fixture, not a secret.
#pragma once

const char* SimPrivateKeyPem();

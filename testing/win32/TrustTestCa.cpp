// A test-only helper, run in the Wine prefix of the tests: adds the test server's CA
// certificate (a PEM file) to the current user's ROOT store, so WinHTTP trusts the
// loopback HTTPS server. Wine adds it without the confirmation Windows would ask for.
//   TrustTestCa <ca.pem>
#include <windows.h>
// After windows.h:
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: TrustTestCa <ca.pem>\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string pem((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  DWORD size = 0;
  if (pem.empty() || !::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                                             nullptr, &size, nullptr, nullptr)) {
    std::fprintf(stderr, "no certificate in the file\n");
    return 1;
  }
  std::vector<BYTE> der(size);
  ::CryptStringToBinaryA(pem.c_str(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(), &size,
                         nullptr, nullptr);
  HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"ROOT");
  if (!store) {
    std::fprintf(stderr, "cannot open the ROOT store (%lu)\n", ::GetLastError());
    return 1;
  }
  const BOOL added = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  const DWORD error = ::GetLastError();
  ::CertCloseStore(store, 0);
  if (!added) {
    std::fprintf(stderr, "cannot add the certificate (%lu)\n", error);
    return 1;
  }
  return 0;
}

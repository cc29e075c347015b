# Writes SHA256SUMS for the release (the program and the README, in the
# format that sha256sum -c reads) and prints the program's SHA-256.
# Called as: cmake -DEXE=... -DREADME=... -DOUT=... -P sha256sums.cmake
file(SHA256 "${EXE}" exe_hash)
file(SHA256 "${README}" readme_hash)
file(WRITE "${OUT}" "${exe_hash}  fix_pruxa.exe\n${readme_hash}  README.md\n")
message("fix_pruxa.exe SHA-256: ${exe_hash}")

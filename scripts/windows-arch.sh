# Sourced: chooses the architecture the Windows programs run in under Wine, by trying.
# Sets KQ_WINDOWS_ARCH (x86 or x64), KQ_WINDOWS_WHY (the reason, for one line of output) and
# KQ_WINDOWS_TREE (the build tree's folder name under build/: windows or windows-x64).
# x86 is the product as shipped, so it is taken wherever the machine executes 32-bit
# programs. Some kernels cannot (32-bit emulation off); there the x64 twin runs instead.
# KQ_WINDOWS_ARCH=x64 (or x86) in the environment forces the choice.
kq_wine32_loader=${KQ_WINE32_LOADER:-/usr/lib/wine/wine}  # overridden only by its test
case "${KQ_WINDOWS_ARCH:-}" in
  x64) KQ_WINDOWS_WHY="forced by KQ_WINDOWS_ARCH=x64" ;;
  x86) KQ_WINDOWS_WHY="forced by KQ_WINDOWS_ARCH=x86" ;;
  "")
    # Debian's wine script would pick this loader even where the kernel refuses it, so the
    # loader itself is tried: exit code 126 is "Exec format error".
    kq_probe_code=0
    kq_probe_out=$("$kq_wine32_loader" --version 2>&1) || kq_probe_code=$?
    if [ ! -x "$kq_wine32_loader" ]; then
      KQ_WINDOWS_ARCH=x64
      KQ_WINDOWS_WHY="no 32-bit Wine loader at $kq_wine32_loader"
    elif [ "$kq_probe_code" -eq 126 ] || [[ "$kq_probe_out" == *"Exec format error"* ]]; then
      KQ_WINDOWS_ARCH=x64
      KQ_WINDOWS_WHY="this machine cannot execute 32-bit programs"
    elif [ "$kq_probe_code" -ne 0 ]; then
      KQ_WINDOWS_ARCH=x64
      KQ_WINDOWS_WHY="the 32-bit Wine loader failed (exit code $kq_probe_code)"
    else
      KQ_WINDOWS_ARCH=x86
      KQ_WINDOWS_WHY="this machine executes 32-bit programs"
    fi
    unset kq_probe_code kq_probe_out
    ;;
  *)
    echo "KQ_WINDOWS_ARCH must be x86 or x64, not \"$KQ_WINDOWS_ARCH\"" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
if [ "$KQ_WINDOWS_ARCH" = x64 ]; then KQ_WINDOWS_TREE=windows-x64; else KQ_WINDOWS_TREE=windows; fi
export KQ_WINDOWS_ARCH KQ_WINDOWS_WHY KQ_WINDOWS_TREE
unset kq_wine32_loader

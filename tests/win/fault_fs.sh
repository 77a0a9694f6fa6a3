# A small file system on which saves must fail (sourced): a tmpfs mounted on a
# new folder, then made read-only or filled to the last byte. Mounting needs
# root: when it fails the calling test is skipped (exit 77) with the reason.
# The caller runs fault_fs_cleanup at exit (trap), which unmounts in every case.

fault_fs_mount() {  # SIZE -> fault_dir
  fault_dir=$(mktemp -d /tmp/qv-faults.XXXXXX)
  local err
  if ! err=$(mount -t tmpfs -o "size=$1" tmpfs "$fault_dir" 2>&1); then
    echo "SKIP: cannot mount a tmpfs on $fault_dir (mounting needs root): $err"
    exit 77
  fi
  fault_mounted=1
}

fault_fs_cleanup() {
  if [ -n "${fault_mounted:-}" ]; then
    umount "$fault_dir" 2>/dev/null || umount -l "$fault_dir" || true
    fault_mounted=
  fi
  [ -n "${fault_dir:-}" ] && rmdir "$fault_dir" 2>/dev/null || true
}

fault_fs_readonly() {
  local err
  if ! err=$(mount -o remount,ro "$fault_dir" 2>&1); then
    echo "SKIP: cannot remount $fault_dir read-only: $err"
    exit 77
  fi
  ! touch "$fault_dir/.probe" 2>/dev/null || { echo "FAIL: $fault_dir still takes files"; exit 1; }
}

fault_fs_writable() {
  mount -o remount,rw "$fault_dir"
  rm -f "$fault_dir/filler"
}

# Fills the file system until not one more byte fits.
fault_fs_fill() {
  dd if=/dev/zero of="$fault_dir/filler" bs=1k 2>/dev/null || true
  ! printf x >>"$fault_dir/filler" 2>/dev/null || { echo "FAIL: $fault_dir is not full"; exit 1; }
}

# The folder as Windows programs under Wine see it (Wine maps / as Z:).
fault_fs_windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# A settings file in DIR from lines, CR LF after each, in code page 932.
fault_fs_settings() {
  local file=$1; shift
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$file"
}

# The three settings files of a clock showing 日本, at 3000, 1200 twips.
fault_fs_old_settings() {
  local dir=$1
  fault_fs_settings "$dir/STEI.QV" '名称' '日本' '' '' '' '' '' '' '' '' '' '時差' ' 0 ' '' '' '' '' '' '' '' '' '' \
    '始業時間' '09:00' '' '' '' '' '' '' '' '' '' '終業時間' '18:00' '' '' '' '' '' '' '' '' '' \
    'サマータイム情報' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 ' ' 0 '
  fault_fs_settings "$dir/STEI1.QV" '色' '0' '12648447' '16711680' '0' 'フォームピクチャー' '' '透明かどうか' '0' \
    '日時表示形式' 'mm/dd hh:mm' '表示内容寸法' ' 180 ' ' 1095 ' 'フォント情報' 'False' 'False' 'ＭＳ ゴシック' ' 8 ' ' 75 '
  fault_fs_settings "$dir/STEI2.QV" 'フォーム情報' ' 0 ' '位置サイズ情報' ' 1200 ' ' 885 ' ' 1410 ' ' 3000 ' \
    'フォーム切替情報' ''
}

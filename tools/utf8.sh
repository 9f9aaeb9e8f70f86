# Sourced by every script of ours that runs Wine. Wine makes each Unix file
# name from a Windows one through the locale's character set: without a UTF-8
# locale, a game folder such as "Игры" can be neither made nor opened. A shell
# with no locale (a container, `env -i`, cron) gets C.UTF-8, which every
# Debian has; a UTF-8 locale the caller chose is left exactly as it is.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

" .zem programs: C comments, tabs for indentation.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

setlocal commentstring=//\ %s
setlocal comments=s1:/*,mb:*,ex:*/,://
setlocal noexpandtab
let b:undo_ftplugin = 'setlocal commentstring< comments< expandtab<'

" Runs in Vim started with the README's .vimrc lines (see vim_test.sh):
" opens a UTF-8 and a Shift-JIS program and checks the filetype, the
" settings, the encoding each is read and written in, and the colours.
" Environment: ZEM_SCRATCH, a folder to write in and the result.
let s:failures = []
let s:passed = 0
function! s:Check(ok, what) abort
  if a:ok
    let s:passed += 1
  else
    call add(s:failures, a:what)
  endif
endfunction
" The syntax group at the first `needle` of line `row`, and what it shows as.
function! s:Group(row, needle) abort
  let id = synID(a:row, stridx(getline(a:row), a:needle) + 1, 1)
  return synIDattr(id, 'name') . '/' . synIDattr(synIDtrans(id), 'name')
endfunction

let s:lines = ['はじめ', "\t見る(\"答え\",数a);", "\t見る \"x\";", 'おわり']
call writefile(s:lines, $ZEM_SCRATCH . '/utf8.zem')
call writefile(map(copy(s:lines), 'iconv(v:val, "utf-8", "cp932")'), $ZEM_SCRATCH . '/sjis.zem')

for s:name in ['utf8.zem', 'sjis.zem']
  execute 'edit ' . fnameescape($ZEM_SCRATCH . '/' . s:name)
  call s:Check(&filetype ==# 'zem', s:name . ': filetype ' . &filetype)
  call s:Check(&commentstring ==# '// %s' && !&expandtab, s:name . ': the settings of zem')
  call s:Check(&fileencoding ==# (s:name ==# 'utf8.zem' ? 'utf-8' : 'cp932'),
        \ s:name . ': read as ' . &fileencoding)
  call s:Check(getline(1, '$') ==# s:lines, s:name . ': read as ' . string(getline(1, '$')))
  call s:Check(get(b:, 'current_syntax', '') ==# 'zem', s:name . ': syntax ' . get(b:, 'current_syntax', ''))
  call s:Check(s:Group(2, '見る') ==# 'zemKeyword/PreProc', s:name . ': a keyword ' . s:Group(2, '見る'))
  call s:Check(s:Group(2, '数a') ==# 'zemNumVar/Identifier', s:name . ': a variable ' . s:Group(2, '数a'))
  call s:Check(s:Group(3, '見る') ==# 'zemJoined/Error', s:name . ': the joined keyword ' . s:Group(3, '見る'))
  let s:bytes = readfile(s:name, 'b')
  silent write!
  call s:Check(readfile(s:name, 'b') ==# s:bytes, s:name . ': written back differently')
endfor

" What is found, for vim_test.sh to show (Ex mode shows no messages).
if empty(s:failures)
  call writefile([printf('ok: %d checks in Vim %d.%d', s:passed, v:version / 100, v:version % 100)],
        \ $ZEM_SCRATCH . '/result')
  qall!
endif
call writefile(map(s:failures, '"FAIL: " . v:val'), $ZEM_SCRATCH . '/result')
cquit!

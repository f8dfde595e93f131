" Vim syntax file for .zem programs, the teaching language that zemucfilter
" translates into C. It colours what the translator does with a line:
" - spaces go before a line is split (one after "else" stays), so a keyword
"   or a name is a token of its own only when the nearest byte before it
"   that is no space is a delimiter, and the nearest one after it is a
"   delimiter, ';' or the line end; '"' is no delimiter;
" - the first ';' outside quotes ends the line, in a C comment too;
" - a statement keyword is translated wherever it stands as a token, in a
"   comment too, and its statement takes the rest of the line;
" - a character whose Shift-JIS second byte is '{' or '}' (マ, ボ, 倍, ...)
"   splits a name there.
if exists('b:current_syntax')
  finish
endif
let s:cpo_save = &cpo
set cpo&vim

let s:delims = ',\x0c:\t=)(+\-/*<>{}'

" The characters whose second byte is '{' or '}', found through iconv().
function! s:SplittingCharacters() abort
  if !has('iconv')
    return ''
  endif
  let chars = ''
  for lead in range(0x81, 0x9f) + range(0xe0, 0xfc)
    for trail in ['7b', '7d']
      let char = iconv(eval(printf('"\x%02x\x%s"', lead, trail)), 'cp932', 'utf-8')
      if strchars(char) == 1
        let chars .= char
      endif
    endfor
  endfor
  return chars
endfunction
let s:split = s:SplittingCharacters()

let s:keywords = '\%(はじめ\|おわり\|見る\|打つ\|くり返し\|開く\|閉じる\|読む\|書く\|読みきり\)'
let s:file_keywords = '\%(開く\|閉じる\|読む\|書く\|読みきり\)'
" Where a token starts: after a delimiter or a splitting character.
let s:start = '\%(^\|[' . s:delims . s:split . ']\)\@<= *\zs'
" Nothing more of the token follows.
let s:end = '\%( *\%([' . s:delims . ';]\|$\)\)\@='
let s:not_end = '\%( *\%([' . s:delims . ';]\|$\)\)\@!'
" A character of a name (a full-width space too); of any text (quotes too).
let s:name_char = '[^' . s:delims . '; "' . s:split . ']'
let s:text_char = '[^' . s:delims . '; ' . s:split . '\u3000]'

" The line ends at its first ';' outside quotes; the rest is dropped.
syntax match zemTerminator ";" nextgroup=zemIgnored
syntax match zemIgnored ".*" contained

syntax cluster zemInComment contains=zemCommentQuote,zemStatement,zemFileStatement,zemTerminator
syntax region zemBlockComment start="/\*" end="\*/" contains=@zemInComment
syntax region zemLineComment start="//" end="$" contains=@zemInComment
" Quotes hide a ';' from the translator, also in a comment.
syntax match zemCommentQuote '"[^"]*\%("\|$\)' contained

syntax region zemString start='"' end='"' end='$' contains=zemEscape,zemFormat,zemRemovedSpace
syntax match zemEscape #\\\%([abfnrtv\\'?0]\|x\x\+\|\o\{1,3}\)# contained
syntax match zemFormat '%[-+#0]*\d*\%(\.\d\+\)\=[hlL]*[diouxXeEfgGcsp%]' contained
syntax match zemRemovedSpace '\%(else\)\@<! \+' contained
syntax match zemChar #'\%([^'\\;"]\|\\[^;"]\)\+'#

syntax cluster zemArguments contains=zemString,zemNumVar,zemStrVar,zemSecondKeyword,zemSplit,zemFullSpace,zemJoiningSpace,zemNumber
execute 'syntax region zemStatement matchgroup=zemKeyword start=#' . s:start . s:keywords . s:end
      \ . '# end=#;\@=# end=#$# contains=@zemArguments'
execute 'syntax region zemFileStatement matchgroup=zemKeyword start=#' . s:start . s:file_keywords . s:end
      \ . '# end=#;\@=# end=#$# contains=zemFile,@zemArguments'
" The token after a file statement's keyword names the file.
execute 'syntax match zemFile #\%(' . s:file_keywords . ' *[' . s:delims . '] *\)\@<=' . s:name_char
      \ . '\%(' . s:name_char . '\| \+' . s:name_char . '\@=\)*# contained'
execute 'syntax match zemSecondKeyword #' . s:start . s:keywords . s:end . '# contained'
" A keyword joined to the text after it, or to an "else" before it.
execute 'syntax match zemJoined #' . s:start . s:keywords . s:not_end . '#'
execute 'syntax match zemJoined #\%(else \)\@<= *\zs' . s:keywords . '#'

execute 'syntax match zemNumVar #' . s:start . '数\%(' . s:name_char . '\| \+' . s:name_char . '\@=\)*# contains=zemFullSpace,zemRemovedSpace'
execute 'syntax match zemStrVar #' . s:start . '字\%(' . s:name_char . '\| \+' . s:name_char . '\@=\)*# contains=zemFullSpace,zemRemovedSpace'
if s:split !=# ''
  execute 'syntax match zemSplit #[' . s:split . ']#'
endif
syntax match zemFullSpace "\%u3000"
" Between two texts a space goes, and they become one: return 0 is return0.
execute 'syntax match zemJoiningSpace #' . s:text_char . '\@<=\%(else\)\@<! \+' . s:text_char . '\@=#'

syntax keyword zemCKeyword if else while for do switch case default break continue return goto
syntax keyword zemCType int char float double long short unsigned signed void FILE struct const static
syntax keyword zemCOperator sizeof
syntax keyword zemCFunction printf scanf sprintf sscanf fprintf fscanf fgets fputs puts gets getchar putchar
syntax keyword zemCFunction strcpy strncpy strcat strcmp strncmp strlen atoi atof abs fabs sqrt pow sin cos tan
syntax keyword zemCFunction exp log floor ceil rand srand time exit malloc free fopen fclose feof fflush delkai
syntax keyword zemCConstant NULL EOF
syntax match zemNumber '\<\%(0[xX]\x\+\|\d\+\%(\.\d*\)\=\%([eE][-+]\=\d\+\)\=\)[uUlLfF]*\>'

" A comment may run on past a */ that a ';' or a statement took away: only
" reading from the first line tells. Programs are short.
syntax sync fromstart

highlight default link zemKeyword PreProc
highlight default link zemFile Underlined
highlight default link zemNumVar Identifier
highlight default link zemStrVar Special
highlight default link zemString String
highlight default link zemChar Character
highlight default link zemEscape SpecialChar
highlight default link zemFormat SpecialChar
highlight default link zemNumber Number
highlight default link zemBlockComment Comment
highlight default link zemLineComment Comment
highlight default link zemCommentQuote Comment
highlight default link zemIgnored Comment
highlight default link zemTerminator Delimiter
highlight default link zemCKeyword Statement
highlight default link zemCOperator Statement
highlight default link zemCFunction Statement
highlight default link zemCType Type
highlight default link zemCConstant Constant
highlight default link zemJoined Error
highlight default link zemSecondKeyword Error
highlight default link zemSplit Error
highlight default link zemFullSpace Error
highlight default link zemRemovedSpace Error
highlight default link zemJoiningSpace Error

let b:current_syntax = 'zem'
let &cpo = s:cpo_save
unlet s:cpo_save

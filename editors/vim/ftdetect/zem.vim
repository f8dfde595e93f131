" .zem programs have the filetype zem. Those stored here are Shift-JIS, those
" an editor writes UTF-8: while such a file is read, Vim tries UTF-8 first,
" then code page 932 (latin1 last, which keeps any bytes as they are), and
" writes it back in the encoding it was read in. Other files keep the user's
" 'fileencodings'.
autocmd BufNewFile,BufRead *.zem setfiletype zem
autocmd BufReadPre,FileReadPre *.zem
      \ let s:fileencodings = &fileencodings |
      \ set fileencodings=ucs-bom,utf-8,cp932,latin1
autocmd BufReadPost,FileReadPost *.zem
      \ if exists('s:fileencodings') |
      \   let &fileencodings = s:fileencodings |
      \   unlet s:fileencodings |
      \ endif

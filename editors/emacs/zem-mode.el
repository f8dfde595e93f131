;;; zem-mode.el --- Major mode for .zem programs  -*- lexical-binding: t; -*-

;;; Commentary:

;; Colours .zem programs, the teaching language that zemucfilter translates
;; into C: the statement keywords, the file a file statement names, numeric
;; (数...) and string (字...) variables, texts, C words and comments, and
;; the text after a line's first ';', which the translator drops. A keyword
;; or a name counts only as a whole token: spaces are removed before a line
;; is split, so the nearest character before it that is no space must be a
;; delimiter (or the line start) and the nearest after it a delimiter, ';'
;; or the line end.  Shift-JIS files (as stored) and UTF-8 files (as editors
;; write them) are both read right.
;;
;; With eglot, `zemuc lsp' serves these buffers:
;;   (add-to-list 'eglot-server-programs '(zem-mode "zemuc" "lsp"))

;;; Code:

(defgroup zem nil
  "Editing .zem programs."
  :group 'languages)

(defface zem-numeric-variable-face '((t :inherit font-lock-variable-name-face))
  "Face of numeric variables (数...).")
(defface zem-string-variable-face '((t :inherit font-lock-constant-face))
  "Face of string variables (字...).")
(defface zem-file-face '((t :inherit font-lock-function-name-face))
  "Face of the file a file statement names.")
(defface zem-ignored-face '((t :inherit font-lock-comment-face))
  "Face of the text after a line's first ';', which the translator drops.")

(defconst zem-keywords
  '("はじめ" "おわり" "見る" "打つ" "くり返し" "開く" "閉じる" "読む" "書く" "読みきり")
  "The statement keywords.")
(defconst zem-file-keywords '("開く" "閉じる" "読む" "書く" "読みきり")
  "The keywords whose statement names a file first.")

(defconst zem--delimiters '(?, ?\f ?: ?\t ?= ?\) ?\( ?+ ?- ?/ ?* ?< ?> ?{ ?})
  "The characters that split a line into tokens.")

(defun zem--token-start-p (pos)
  "Whether a token starts at POS, the spaces before it squeezed out."
  (save-excursion
    (goto-char pos)
    (skip-chars-backward " ")
    (or (bolp) (memq (char-before) zem--delimiters))))

(defun zem--token-end-p (pos)
  "Whether a token ends at POS, the spaces after it squeezed out."
  (save-excursion
    (goto-char pos)
    (skip-chars-forward " ")
    (or (eolp) (memq (char-after) (cons ?\; zem--delimiters)))))

(defun zem--in-string-p (pos)
  "Whether POS is inside a text in quotes."
  (nth 3 (save-excursion (syntax-ppss pos))))

(defun zem--matcher (regexp test)
  "A font-lock matcher: the next REGEXP whose match TEST accepts."
  (lambda (limit)
    (let (found)
      (while (and (not found) (re-search-forward regexp limit t))
        (setq found (save-match-data (funcall test)))
        ;; A match turned down may hide a good one inside it.
        (unless found (goto-char (1+ (match-beginning 0)))))
      found)))

(defun zem--statement-p ()
  "Whether the last match is a keyword standing as a token of its own."
  (and (zem--token-start-p (match-beginning 1))
       (zem--token-end-p (match-end 1))
       (not (zem--in-string-p (match-beginning 1)))))

(defun zem--variable-p ()
  "Whether the last match begins a token and stands outside quotes."
  (and (zem--token-start-p (match-beginning 0))
       (not (zem--in-string-p (match-beginning 0)))
       (not (nth 4 (save-excursion (syntax-ppss (match-beginning 0)))))))

(defconst zem--name "[^][ ,\f:\t=)(+*/<>{};\"\n-]*"
  "The rest of a name.")

(defconst zem-font-lock-keywords
  `(;; A statement keyword is translated wherever it stands, in a comment too.
    (,(zem--matcher (concat "\\(" (regexp-opt zem-file-keywords) "\\)"
                            "\\(?: *[,\f:\t=)(+*/<>{}-] *\\(" zem--name "\\)\\)?")
                    #'zem--statement-p)
     (1 font-lock-keyword-face t)
     (2 'zem-file-face t t))
    (,(zem--matcher (concat "\\(" (regexp-opt zem-keywords) "\\)") #'zem--statement-p)
     (1 font-lock-keyword-face t))
    (,(zem--matcher (concat "数" zem--name) #'zem--variable-p) . 'zem-numeric-variable-face)
    (,(zem--matcher (concat "字" zem--name) #'zem--variable-p) . 'zem-string-variable-face)
    (,(regexp-opt '("if" "else" "while" "for" "do" "switch" "case" "default" "break" "continue"
                    "return" "goto" "sizeof")
                  'symbols)
     . font-lock-builtin-face)
    (,(regexp-opt '("int" "char" "float" "double" "long" "short" "unsigned" "signed" "void" "FILE"
                    "struct" "const" "static")
                  'symbols)
     . font-lock-type-face)
    ;; The line ends at its first ';' outside quotes.
    (,(zem--matcher ";\\(.*\\)$" (lambda () (not (zem--in-string-p (match-beginning 0)))))
     (1 'zem-ignored-face t)))
  "What zem-mode colours beyond texts and comments.")

(defvar zem-mode-syntax-table
  (let ((table (make-syntax-table)))
    (modify-syntax-entry ?/ ". 124b" table)
    (modify-syntax-entry ?* ". 23" table)
    (modify-syntax-entry ?\n "> b" table)
    (modify-syntax-entry ?\" "\"" table)
    (modify-syntax-entry ?' "\"" table)
    (modify-syntax-entry ?\\ "\\" table)
    (modify-syntax-entry ?_ "_" table)
    table)
  "Syntax table of `zem-mode': C comments and texts.")

;;;###autoload
(define-derived-mode zem-mode prog-mode "Zem"
  "Major mode for .zem programs."
  :syntax-table zem-mode-syntax-table
  (setq-local font-lock-defaults '(zem-font-lock-keywords))
  (setq-local comment-start "// ")
  (setq-local comment-end "")
  (setq-local comment-start-skip "\\(?://+\\|/\\*+\\)\\s *")
  (setq-local indent-tabs-mode t))

(defun zem-coding-system (arguments)
  "The coding system to read a .zem file in: UTF-8 when its bytes are valid
UTF-8, else Shift-JIS (code page 932). ARGUMENTS are the operation and
its arguments, the file (or a file and a buffer) first; see
`file-coding-system-alist'."
  (let ((file (nth 1 arguments)))
    (when (consp file) (setq file (car file)))
    (when (and (stringp file) (file-readable-p file) (not (file-directory-p file)))
      (with-temp-buffer
        (set-buffer-multibyte nil)
        (insert-file-contents-literally file)
        (let ((text (decode-coding-string (buffer-string) 'utf-8-unix t)))
          ;; Bytes that are no UTF-8 decode into raw eight-bit characters.
          (if (string-match-p "[\x3fff80-\x3fffff]" text) 'japanese-cp932 'utf-8))))))

;;;###autoload
(add-to-list 'auto-mode-alist '("\\.zem\\'" . zem-mode))
;;;###autoload
(add-to-list 'file-coding-system-alist '("\\.zem\\'" . zem-coding-system))

(provide 'zem-mode)
;;; zem-mode.el ends here

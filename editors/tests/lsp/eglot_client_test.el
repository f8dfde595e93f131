;;; eglot_client_test.el --- eglot against zemuc lsp -*- lexical-binding: t -*-
;; Loaded after the README's lines (see lsp_emacs_test.sh): visits a
;; program with a trap and asks the server, through eglot, for what an
;; editor shows.  Environment: ZEM_SCRATCH, a folder to write in.
(require 'eglot)
(require 'flymake)

(defvar zem-test-failures nil)
(defvar zem-test-passed 0)

(defun zem-test-check (ok what)
  (if ok
      (setq zem-test-passed (1+ zem-test-passed))
    (push what zem-test-failures)))

(defun zem-test-wait (predicate)
  "Waits up to 20 seconds for PREDICATE, serving the server meanwhile."
  (let ((tries 0))
    (while (and (not (funcall predicate)) (< tries 200))
      (accept-process-output nil 0.1)
      (setq tries (1+ tries)))
    (funcall predicate)))

(defun zem-test-ask (method line column)
  "The result of METHOD at LINE (from 1) and COLUMN (characters from 0)."
  (goto-char (point-min))
  (forward-line (1- line))
  (forward-char column)
  (jsonrpc-request (eglot-current-server) method
                   (eglot--TextDocumentPositionParams)))

(let* ((program (expand-file-name "traps.zem" (getenv "ZEM_SCRATCH")))
       (coding-system-for-write 'utf-8-unix))
  (with-temp-file program
    (insert "はじめ\n\t見る \"x\";\n\t数a=1;\n\t見る(\"答え\",数a);\nおわり\n"))
  (find-file program)
  (zem-test-check (eq major-mode 'zem-mode) "zem-mode")
  ;; eglot-ensure connects after the command that visited the file.
  (run-hooks 'post-command-hook)
  (zem-test-check (zem-test-wait #'eglot-current-server) "eglot connected")
  (when (eglot-current-server)
    ;; Diagnostics: the one finding of zemuc check, through flymake.
    (zem-test-check
     (zem-test-wait (lambda () (flymake-start) (flymake-diagnostics)))
     "diagnostics published")
    (let ((diagnostics (flymake-diagnostics)))
      (zem-test-check (= (length diagnostics) 1)
                      (format "one diagnostic, got %d" (length diagnostics)))
      (when diagnostics
        (let ((d (car diagnostics)))
          (zem-test-check (eq (flymake-diagnostic-type d) 'eglot-warning)
                          (format "a warning, got %s" (flymake-diagnostic-type d)))
          (zem-test-check
           (equal (buffer-substring (flymake-diagnostic-beg d)
                                    (flymake-diagnostic-end d))
                  "見る")
           "the diagnostic covers the keyword")
          (zem-test-check
           (string-match-p "'見る' joins the text after it"
                           (flymake-diagnostic-text d))
           (flymake-diagnostic-text d)))))
    ;; Hover on 数a in line 4: nine characters in.
    (let* ((hover (zem-test-ask :textDocument/hover 4 9))
           (text (plist-get (plist-get hover :contents) :value)))
      (zem-test-check
       (and text (string-match-p "数a: number variable, nn1 in C, first named on line 3"
                                 text))
       (format "hover names the variable: %S" text))
      (zem-test-check
       (and text (string-match-p (regexp-quote "printf(\"%s[%d]\\n\", \"答え\", nn1);")
                                 text))
       (format "hover shows the C text: %S" text)))
    (let* ((definition (zem-test-ask :textDocument/definition 4 9))
           (start (plist-get (plist-get definition :range) :start)))
      (zem-test-check (and start (= (plist-get start :line) 2)
                           (= (plist-get start :character) 1))
                      (format "definition on line 3: %S" definition)))
    (let* ((completion (zem-test-ask :textDocument/completion 3 1))
           (labels (mapcar (lambda (item) (plist-get item :label))
                           (plist-get completion :items))))
      (zem-test-check (and (member "見る" labels) (member "数a" labels))
                      (format "keywords and variables completed: %S" labels)))
    ;; Edits go to the server as the buffer changes: the mend removes the
    ;; finding.
    (goto-char (point-min))
    (forward-line 1)
    (forward-char 3)
    (delete-char 1)
    (insert "(")
    ;; What eglot's idle timer does, which batch Emacs never runs.
    (eglot--signal-textDocument/didChange)
    (zem-test-check
     (zem-test-wait (lambda () (flymake-start) (null (flymake-diagnostics))))
     "no diagnostic after the change")
    (eglot-shutdown (eglot-current-server))))

(if zem-test-failures
    (progn
      (dolist (failure (reverse zem-test-failures))
        (princ (format "FAIL: %s\n" failure)))
      (kill-emacs 1))
  (princ (format "ok: %d checks with eglot %s\n" zem-test-passed
                 (if (boundp 'eglot-version) eglot-version "")))
  (kill-emacs 0))

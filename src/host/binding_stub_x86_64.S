// The host import table and its binding stubs (x86-64, System V).
// Each entry starts out holding the address of its own stub. A call that
// reaches a stub saves every argument register, has the entry resolved,
// restores the registers and jumps to the resolved function, so the call
// arrives with the caller's arguments untouched.

        .section .data.rel,"aw"
        .globl g_hostImports
        .hidden g_hostImports
        .p2align 3
g_hostImports:
        .irp i,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51
        .quad HostBindingStub\i
        .endr

        .section .data.rel.ro,"aw"
        .globl g_hostBindingStubs
        .hidden g_hostBindingStubs
        .p2align 3
g_hostBindingStubs:
        .irp i,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51
        .quad HostBindingStub\i
        .endr

        .text
        .irp i,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,33,34,35,36,37,38,39,40,41,42,43,44,45,46,47,48,49,50,51
HostBindingStub\i:
        pushq $\i
        jmp HostBindingCommon
        .endr

// Stack on entry: the entry index, then the caller's return address.
HostBindingCommon:
        pushq %rdi
        pushq %rsi
        pushq %rdx
        pushq %rcx
        pushq %r8
        pushq %r9
        pushq %rax
        pushq %r10
        pushq %r11
        subq $136, %rsp
        movdqu %xmm0, 0(%rsp)
        movdqu %xmm1, 16(%rsp)
        movdqu %xmm2, 32(%rsp)
        movdqu %xmm3, 48(%rsp)
        movdqu %xmm4, 64(%rsp)
        movdqu %xmm5, 80(%rsp)
        movdqu %xmm6, 96(%rsp)
        movdqu %xmm7, 112(%rsp)
        movl 208(%rsp), %edi
        call ResolveHostEntryFromStub@PLT
        movq %rax, 208(%rsp)            // the index's slot now holds the target
        movdqu 0(%rsp), %xmm0
        movdqu 16(%rsp), %xmm1
        movdqu 32(%rsp), %xmm2
        movdqu 48(%rsp), %xmm3
        movdqu 64(%rsp), %xmm4
        movdqu 80(%rsp), %xmm5
        movdqu 96(%rsp), %xmm6
        movdqu 112(%rsp), %xmm7
        addq $136, %rsp
        popq %r11
        popq %r10
        popq %rax
        popq %r9
        popq %r8
        popq %rcx
        popq %rdx
        popq %rsi
        popq %rdi
        ret                             // to the target, as if called directly

        .section .note.GNU-stack,"",@progbits
